#include "password_source.h"

#include "crypto_sha1.h"

namespace arc {

GivenPassword::~GivenPassword() { crypto::wipe(password_.data(), password_.size()); }

PasswordReply GivenPassword::ask(const std::string&, int attempt, std::string* password) {
    if (attempt > 1) return PasswordReply::None;
    *password = password_;
    return PasswordReply::Given;
}

}  // namespace arc
