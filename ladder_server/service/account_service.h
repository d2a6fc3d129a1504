#pragma once

// Ladder accounts: adding and changing them for the operator, and checking a player's
// password before a game.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ladder_server/service/login_throttle.h"
#include "ladder_server/service/user_name.h"
#include "ladder_server/store/clock.h"
#include "ladder_server/store/store.h"

namespace ladder {

// Empty, or one '@' with text on both sides and no blank or control character; at most 254.
bool IsValidEmail(std::string_view email);

enum class AccountChange { Done, NoSuchUser, NameTaken, InvalidName, InvalidEmail, EmptyPassword };

// A sentence for the operator about a change that was not Done.
std::string Describe(AccountChange change, std::string_view name);

class AccountService {
public:
    // Both must outlive the service. The failed logins are counted in the store.
    AccountService(Store& store, Clock& clock, ThrottlePolicy throttle = {})
        : store_(store), throttle_(store.FailedLogins(), clock, throttle) {}

    // False when this server knows that a login for name from the client address must wait
    // for failed ones before it (LoginThrottle::KnownToWait). Cheap: no hashing, no storage,
    // never throws; a login it lets through may still be refused unhashed by Authenticate.
    bool MayTryLogin(std::string_view name, std::string_view address);

    // The user when the name is known, the password matches and the user is enabled for
    // online games; nothing otherwise, also when the login must wait for the failures the
    // store holds (nothing is hashed then). Otherwise the answer takes as long for an unknown
    // name as for a known one: a password is always checked, against a dummy hash when there
    // is no user. A matching password hashed with older limits is hashed again and kept.
    std::optional<UserRecord> Authenticate(std::string_view name, std::string_view password,
                                           std::string_view address);

    AccountChange Add(std::string_view name, std::string_view password, std::string_view email,
                      bool enabled);
    AccountChange SetEnabled(std::string_view name, bool enabled);
    AccountChange SetPassword(std::string_view name, std::string_view password);
    std::vector<UserRecord> List();

private:
    Store& store_;
    LoginThrottle throttle_;
};

}  // namespace ladder
