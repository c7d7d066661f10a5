// Where an extraction gets passwords for encrypted members. The engine asks;
// a front end answers (a dialog, a command-line switch, a test). Passwords
// are kept in memory only for as long as the archive is read.
#pragma once

#include <string>

namespace arc {

enum class PasswordReply {
    Given,   // *password holds a password to try
    Cancel,  // the user declined: the member is skipped with Status::UserCancel
    None,    // nothing (more) to offer: the member fails with Status::PasswordFile
};

class PasswordSource {
public:
    virtual ~PasswordSource() = default;
    // Asked when no password tried so far opens member `memberUtf8`;
    // `attempt` counts the questions about this member from 1.
    virtual PasswordReply ask(const std::string& memberUtf8, int attempt, std::string* password) = 0;
};

// A password given up front (a command-line switch): offered once per
// member, never asked for again.
class GivenPassword final : public PasswordSource {
public:
    explicit GivenPassword(std::string password) : password_(std::move(password)) {}
    ~GivenPassword() override;
    GivenPassword(const GivenPassword&) = delete;
    GivenPassword& operator=(const GivenPassword&) = delete;
    PasswordReply ask(const std::string& memberUtf8, int attempt, std::string* password) override;

private:
    std::string password_;
};

}  // namespace arc
