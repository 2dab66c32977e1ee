#pragma once
// A keyed check that tells what this user's own runs wrote from what anybody
// else could write: HMAC-SHA-256 by the system's cryptography (CNG), with a
// secret of 32 random bytes made once per user and kept in the user's local
// application data protected by DPAPI, so that only this user on this PC can
// read it back. A file in a shared folder that another user, another PC or a
// hand wrote carries no tag that checks.
#include <string>
#include <string_view>

class UserSeal {
public:
    // The seal of the user the program runs as, made on first use.
    static const UserSeal& OfThisUser();

    // A seal over a given key, for tests; an empty key gives one that is unavailable.
    explicit UserSeal(std::string key) : key_(std::move(key)) {}

    // False when the key could be neither read nor made: nothing checks then.
    bool Available() const { return !key_.empty(); }
    // The tag of `data` in 64 lower-case hexadecimal digits; empty when unavailable.
    std::string Tag(std::string_view data) const;
    // Whether `tag` is the tag of `data`; always false when unavailable.
    bool Checks(std::string_view data, std::string_view tag) const;

private:
    std::string key_;
};

// `count` random bytes from the system's generator, in hexadecimal; empty when
// it gives none.
std::string RandomHex(size_t count);
