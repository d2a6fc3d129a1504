#include "ladder_server/service/account_service.h"

#include <algorithm>

#include "ladder_server/service/password_hash.h"

namespace ladder {

bool IsValidEmail(std::string_view email) {
    if (email.empty()) {
        return true;
    }
    const auto at = email.find('@');
    const bool printable = std::all_of(email.begin(), email.end(), [](char c) {
        return static_cast<unsigned char>(c) > ' ' && c != 0x7f;
    });
    return email.size() <= 254 && printable && at != std::string_view::npos && at > 0 &&
           at + 1 < email.size() && email.find('@', at + 1) == std::string_view::npos;
}

std::string Describe(AccountChange change, std::string_view name) {
    // Built by appending: GCC 12 gives a false -Wrestrict for "literal" + std::string.
    const auto sentence = [name](std::string_view before, std::string_view after) {
        std::string text(before);
        text.append("\"").append(name).append("\"").append(after);
        return text;
    };
    switch (change) {
        case AccountChange::Done:
            return "done";
        case AccountChange::NoSuchUser:
            return sentence("there is no user ", "");
        case AccountChange::NameTaken:
            return sentence("a user ", " exists already");
        case AccountChange::InvalidName:
            return sentence("invalid user name ", ": use 1 to 32 letters, digits, '.', '_' or '-'");
        case AccountChange::InvalidEmail:
            return sentence("invalid e-mail address for ", "");
        case AccountChange::EmptyPassword:
            return "the password is empty";
    }
    return "unknown change";
}

bool AccountService::MayTryLogin(std::string_view name, std::string_view address) {
    return !throttle_.KnownToWait(name, address);
}

std::optional<UserRecord> AccountService::Authenticate(std::string_view name,
                                                       std::string_view password,
                                                       std::string_view address) {
    if (!throttle_.Allows(name, address)) {
        return std::nullopt;
    }
    auto user = store_.FindUser(name);
    const bool matches = VerifyPassword(user ? user->passwordHash : DummyPasswordHash(), password);
    if (!user || !matches) {
        throttle_.Failed(name, address);
        return std::nullopt;
    }
    throttle_.Succeeded(name, address);
    if (NeedsRehash(user->passwordHash)) {
        const std::string rehashed = HashPassword(password);
        if (store_.SetUserPassword(name, rehashed)) {
            user->passwordHash = rehashed;
        }
    }
    if (!user->enabled) {
        return std::nullopt;
    }
    return user;
}

AccountChange AccountService::Add(std::string_view name, std::string_view password,
                                  std::string_view email, bool enabled) {
    if (!IsValidUserName(name)) {
        return AccountChange::InvalidName;
    }
    if (!IsValidEmail(email)) {
        return AccountChange::InvalidEmail;
    }
    if (password.empty()) {
        return AccountChange::EmptyPassword;
    }
    UserRecord user;
    user.name = name;
    user.passwordHash = HashPassword(password);
    user.email = email;
    user.enabled = enabled;
    return store_.AddUser(user) ? AccountChange::Done : AccountChange::NameTaken;
}

AccountChange AccountService::SetEnabled(std::string_view name, bool enabled) {
    return store_.SetUserEnabled(name, enabled) ? AccountChange::Done : AccountChange::NoSuchUser;
}

AccountChange AccountService::SetPassword(std::string_view name, std::string_view password) {
    if (password.empty()) {
        return AccountChange::EmptyPassword;
    }
    if (!store_.FindUser(name)) {
        return AccountChange::NoSuchUser;
    }
    return store_.SetUserPassword(name, HashPassword(password)) ? AccountChange::Done
                                                                : AccountChange::NoSuchUser;
}

std::vector<UserRecord> AccountService::List() {
    return store_.Users();
}

}  // namespace ladder
