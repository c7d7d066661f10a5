#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>

#include "folder_extract.h"

namespace {

// An archive held in memory whose members can be told to fail, so the
// extraction layer is exercised without depending on a format reader.
class ScriptedArchive : public arc::Archive {
public:
    struct Entry {
        arc::Member member;
        std::string data;
        arc::Status outcome = arc::Status::Ok;  // what the "reader" reports after writing data
    };
    explicit ScriptedArchive(std::vector<Entry> entries) : entries_(std::move(entries)) {
        for (auto& e : entries_) members_.push_back(e.member);
    }
    const std::vector<arc::Member>& members() const override { return members_; }
    arc::Status extract(const std::vector<bool>& wanted, arc::ExtractTarget& target) override {
        arc::Status first = arc::Status::Ok;
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (!wanted[i]) continue;
            arc::OutputSink* sink = target.begin(i);
            if (!sink) continue;
            arc::Status s = entries_[i].outcome;
            const std::string& d = entries_[i].data;
            // Deliver in two pieces, like a decoder flushing its window.
            size_t half = d.size() / 2;
            if (!sink->write(reinterpret_cast<const uint8_t*>(d.data()), half) ||
                !sink->write(reinterpret_cast<const uint8_t*>(d.data()) + half, d.size() - half))
                s = arc::Status::CannotWrite;
            target.end(i, s);
            if (!arc::ok(s) && arc::ok(first)) first = s;
        }
        return first;
    }

protected:
    const std::string& data(size_t i) const { return entries_[i].data; }
    arc::Status outcome(size_t i) const { return entries_[i].outcome; }

private:
    std::vector<Entry> entries_;
    std::vector<arc::Member> members_;
};

ScriptedArchive::Entry entry(const std::string& name, const std::string& data, arc::Status outcome = arc::Status::Ok) {
    ScriptedArchive::Entry e;
    e.member.name = name;
    e.member.size = data.size();
    e.member.isFolder = !name.empty() && name.back() == '/';
    e.data = data;
    e.outcome = outcome;
    return e;
}

class FolderExtract : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/qbx_fx_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        root_ = tmpl;
        out_ = root_ + "/out";
        ASSERT_EQ(mkdir(out_.c_str(), 0755), 0);
    }
    void TearDown() override {
        for (auto& [name, _] : listing(out_)) unlink((out_ + "/" + name).c_str());
        for (auto& [name, _] : listing(root_)) unlink((root_ + "/" + name).c_str());
        rmdir(out_.c_str());
        rmdir(root_.c_str());
    }
    // Name -> contents of every file in a folder ("<dir>" for folders).
    static std::map<std::string, std::string> listing(const std::string& dir) {
        std::map<std::string, std::string> out;
        DIR* d = opendir(dir.c_str());
        if (!d) return out;
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n == "." || n == "..") continue;
            struct stat st {};
            if (stat((dir + "/" + n).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
                out[n] = "<dir>";
                continue;
            }
            std::ifstream in(dir + "/" + n, std::ios::binary);
            out[n] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        closedir(d);
        return out;
    }
    std::string root_, out_;
};

TEST_F(FolderExtract, WritesFlatSafeUniqueNames) {
    ScriptedArchive a({entry("doc/", ""), entry("doc/readme.txt", "first"), entry("../../evil.txt", "evil"),
                       entry("README.TXT", "second"), entry("CON.txt", "device"), entry("skip.bin", "nope")});
    std::vector<bool> wanted{true, true, true, true, true, false};
    arc::ExtractResult r = arc::extractToFolder(a, wanted, out_, {});
    EXPECT_EQ(r.status, arc::Status::Ok);
    EXPECT_EQ(r.written, (std::vector<std::string>{"readme.txt", "evil.txt", "README (2).TXT", "_CON.txt"}));
    const std::map<std::string, std::string> expected{
        {"readme.txt", "first"}, {"evil.txt", "evil"}, {"README (2).TXT", "second"}, {"_CON.txt", "device"}};
    EXPECT_EQ(listing(out_), expected);
    EXPECT_TRUE(listing(root_).count("out"));  // nothing beside the folder
    EXPECT_EQ(listing(root_).size(), 1u);
}

// Several members open at once, their bytes interleaved, as a cabinet's data
// blocks deliver them; one of them fails while the others go on.
class InterleavedArchive : public ScriptedArchive {
public:
    using ScriptedArchive::ScriptedArchive;
    arc::Status extract(const std::vector<bool>& wanted, arc::ExtractTarget& target) override {
        std::vector<arc::OutputSink*> sinks;
        for (size_t i = 0; i < wanted.size(); ++i) sinks.push_back(wanted[i] ? target.begin(i) : nullptr);
        for (size_t k = 0; k < 4; ++k)
            for (size_t i = 0; i < sinks.size(); ++i) {
                const std::string& d = data(i);
                size_t from = d.size() * k / 4, to = d.size() * (k + 1) / 4;
                if (sinks[i]) sinks[i]->write(reinterpret_cast<const uint8_t*>(d.data()) + from, to - from);
            }
        for (size_t i = 0; i < sinks.size(); ++i)
            if (sinks[i]) target.end(i, outcome(i));
        return arc::Status::Ok;
    }
};

TEST_F(FolderExtract, MembersOpenAtTheSameTimeKeepTheirOwnFiles) {
    InterleavedArchive a({entry("one.txt", "1111111111111111"), entry("two.txt", "2222"),
                          entry("bad.txt", "33333333", arc::Status::FileCrc), entry("four.txt", "44444444")});
    arc::ExtractResult r = arc::extractToFolder(a, {true, true, true, true}, out_, {});
    EXPECT_EQ(r.status, arc::Status::FileCrc);
    const std::map<std::string, std::string> expected{
        {"one.txt", "1111111111111111"}, {"two.txt", "2222"}, {"four.txt", "44444444"}};
    EXPECT_EQ(listing(out_), expected);
}

TEST_F(FolderExtract, MemberNamedLikeATemporaryFileDoesNotClobberOne) {
    InterleavedArchive a({entry("~qbx1.tmp", "first"), entry("~QBX0.TMP", "second"), entry("a.txt", "third")});
    arc::ExtractResult r = arc::extractToFolder(a, {true, true, true}, out_, {});
    EXPECT_EQ(r.status, arc::Status::Ok);
    const std::map<std::string, std::string> expected{
        {"~qbx1.tmp", "first"}, {"~QBX0 (2).TMP", "second"}, {"a.txt", "third"}};
    EXPECT_EQ(listing(out_), expected);
}

TEST_F(FolderExtract, FailedMemberLeavesNoFileAndOthersArrive) {
    ScriptedArchive a({entry("good1.txt", "aaaa"), entry("bad.txt", "partial data", arc::Status::FileCrc),
                       entry("good2.txt", "bbbb")});
    arc::ExtractResult r = arc::extractToFolder(a, {true, true, true}, out_, {});
    EXPECT_EQ(r.status, arc::Status::FileCrc);
    const std::map<std::string, std::string> expected{{"good1.txt", "aaaa"}, {"good2.txt", "bbbb"}};
    EXPECT_EQ(listing(out_), expected);  // no temporary, no partial bad.txt
}

TEST_F(FolderExtract, MoreBytesThanPromisedIsBrokenData) {
    auto liar = entry("liar.txt", "0123456789");
    liar.member.size = 4;
    auto shortOne = entry("short.txt", "01");
    shortOne.member.size = 8;
    ScriptedArchive a({liar, shortOne});
    arc::ExtractResult r = arc::extractToFolder(a, {true, true}, out_, {});
    EXPECT_EQ(r.status, arc::Status::BrokenData);
    EXPECT_TRUE(listing(out_).empty());
    EXPECT_TRUE(r.written.empty());
}

TEST_F(FolderExtract, OverwriteRulesAndEarlierCommandsFiles) {
    { std::ofstream(out_ + "/a.txt") << "old"; }
    ScriptedArchive a({entry("a.txt", "new")});
    arc::ExtractOptions keep;
    keep.overwrite = false;
    EXPECT_EQ(arc::extractToFolder(a, {true}, out_, keep).status, arc::kStatusAlreadyExist);
    EXPECT_EQ(listing(out_).at("a.txt"), "old");
    // A file from an earlier command is replaced, not renamed around.
    arc::ExtractResult r = arc::extractToFolder(a, {true}, out_, {});
    EXPECT_EQ(r.status, arc::Status::Ok);
    EXPECT_EQ(listing(out_), (std::map<std::string, std::string>{{"a.txt", "new"}}));
}

TEST_F(FolderExtract, ProgressReportsBytesAndCancelRemovesCurrentFile) {
    ScriptedArchive a({entry("one.txt", "12345678"), entry("dir/two.txt", "abcdefgh")});
    std::vector<std::pair<uint64_t, std::string>> seen;
    uint64_t total = 0;
    arc::ExtractResult r = arc::extractToFolder(a, {true, true}, out_, {}, [&](const arc::ExtractProgress& p) {
        seen.emplace_back(p.doneBytes, p.member);
        total = p.totalBytes;
        return true;
    });
    EXPECT_EQ(r.status, arc::Status::Ok);
    EXPECT_EQ(total, 16u);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), (std::pair<uint64_t, std::string>{16, "dir/two.txt"}));
    EXPECT_EQ(seen.front(), (std::pair<uint64_t, std::string>{0, "one.txt"}));

    TearDown();
    SetUp();
    r = arc::extractToFolder(a, {true, true}, out_, {},
                             [](const arc::ExtractProgress& p) { return p.doneBytes < 10; });
    EXPECT_EQ(r.status, arc::Status::UserCancel);
    EXPECT_EQ(listing(out_), (std::map<std::string, std::string>{{"one.txt", "12345678"}}));
}

TEST_F(FolderExtract, ThrowingCallbackLeavesNoTemporaryFile) {
    ScriptedArchive a({entry("one.txt", "12345678")});
    arc::ExtractResult r = arc::extractToFolder(a, {true}, out_, {}, [](const arc::ExtractProgress& p) -> bool {
        if (p.doneBytes > 0) throw std::runtime_error("window gone");
        return true;
    });
    EXPECT_EQ(r.status, arc::Status::BrokenData);
    EXPECT_TRUE(listing(out_).empty());
}

TEST_F(FolderExtract, RestoresDosTimeAndReadOnly) {
    auto e = entry("stamped.txt", "x");
    e.member.dosDate = static_cast<uint16_t>(((2001 - 1980) << 9) | (2 << 5) | 3);  // 2001-02-03
    e.member.dosTime = static_cast<uint16_t>((4 << 11) | (5 << 5) | (6 / 2));       // 04:05:06
    e.member.attributes = 0x01;
    ScriptedArchive a({e});
    arc::ExtractOptions opt;
    opt.restoreAttributes = true;
    ASSERT_EQ(arc::extractToFolder(a, {true}, out_, opt).status, arc::Status::Ok);
    struct stat st {};
    ASSERT_EQ(stat((out_ + "/stamped.txt").c_str(), &st), 0);
    std::tm tm{};
    time_t mt = st.st_mtime;
    localtime_r(&mt, &tm);
    EXPECT_EQ(tm.tm_year, 101);
    EXPECT_EQ(tm.tm_mon, 1);
    EXPECT_EQ(tm.tm_mday, 3);
    EXPECT_EQ(tm.tm_hour, 4);
    EXPECT_EQ(tm.tm_min, 5);
    EXPECT_EQ(tm.tm_sec, 6);
    EXPECT_EQ(st.st_mode & 0222, 0u);
    // The next command may overwrite it all the same.
    ASSERT_EQ(arc::extractToFolder(a, {true}, out_, {}).status, arc::Status::Ok);
    chmod((out_ + "/stamped.txt").c_str(), 0644);
}

TEST_F(FolderExtract, MissingFolderIsCreatedOneLevelOnly) {
    ScriptedArchive a({entry("a.txt", "1")});
    EXPECT_EQ(arc::extractToFolder(a, {true}, out_ + "/new", {}).status, arc::Status::Ok);
    EXPECT_EQ(listing(out_ + "/new").at("a.txt"), "1");
    unlink((out_ + "/new/a.txt").c_str());
    rmdir((out_ + "/new").c_str());
    EXPECT_EQ(arc::extractToFolder(a, {true}, out_ + "/x/y", {}).status, arc::Status::MakeDirectory);
}

}  // namespace
