#pragma once

#include <pwd.h>
#include <unistd.h>

#include <optional>

namespace korval::e2e {

// The programs that refuse to run as root (the XScreenSaver daemon, sway)
// run in the tests as this unprivileged user, which scripts/install-deps.sh
// makes.
inline constexpr const char* kTestUser = "korval-test";

struct Account {
    uid_t uid;
    gid_t gid;
};

// Who runs such a program: this user, or the test user where this one is
// root; nothing where the test user is missing.
inline std::optional<Account> unprivilegedAccount()
{
    if (::geteuid() != 0)
        return Account{::geteuid(), ::getegid()};
    const passwd* entry = ::getpwnam(kTestUser);
    if (!entry)
        return std::nullopt;
    return Account{entry->pw_uid, entry->pw_gid};
}

} // namespace korval::e2e
