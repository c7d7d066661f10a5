// Result codes of the archiver family. The engine reports the same numbers the
// libraries return, so no translation table is needed at the export boundary.
#pragma once

namespace arc {

enum class Status : int {
    Ok = 0,
    DiskSpace = 0x8005,
    ReadOnly = 0x8006,
    UnknownType = 0x8008,
    Method = 0x8009,        // compression method we do not decode
    PasswordFile = 0x800A,  // encrypted member
    FileCrc = 0x800C,       // data decoded but its CRC differs
    FileOpen = 0x800D,
    NotExist = 0x800F,
    HuffmanCode = 0x8014,
    HeaderCrc = 0x8016,
    HeaderBroken = 0x8017,
    ArcFileOpen = 0x8018,
    NotArcFile = 0x8019,
    CannotRead = 0x801A,
    FileStyle = 0x801B,
    CommandName = 0x801C,
    MoreHeapMemory = 0x801D,
    AlreadyRunning = 0x801F,
    UserCancel = 0x8020,
    HarcIsNotOpened = 0x8021,
    NotSearchMode = 0x8022,
    NotSupport = 0x8023,
    NotFindArcFile = 0x8029,  // an archive file (also a later part of a set) is missing
    CannotWrite = 0x8013,
    MakeDirectory = 0x8012,
    UnexpectedEof = 0x8042,
    UnknownLevel = 0x8047,
    BrokenData = 0x8048,
    InvalidPath = 0x8049,
    TooBig = 0x804A,
};

inline bool ok(Status s) { return s == Status::Ok; }

// Several members' results summed up as one: the first real failure. A member
// the user skipped stands only when nothing else failed, so a skip never hides
// an error (a front end may read the skip as "the rest is fine").
inline Status combined(Status sofar, Status next) {
    if (ok(next)) return sofar;
    if (ok(sofar) || (sofar == Status::UserCancel && next != Status::UserCancel)) return next;
    return sofar;
}

}  // namespace arc
