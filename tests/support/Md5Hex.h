#pragma once
// MD5 for tests and benchmarks: the digest of some bytes, raw or as 32
// lower-case hex digits, and the client's half of one nonce of the device,
// worked out here from the bare digest routines.
#include "devicelink/Unitmd5.h"

#include <string>
#include <string_view>

namespace yorde::test {

// The 16 digest bytes.
inline std::string Md5Digest(std::string_view bytes) {
    MD5_CTX ctx;
    unsigned char digest[16];
    MD5Init(&ctx);
    MD5Update(&ctx, bytes.data(), uint32_t(bytes.size()));
    MD5Final(&ctx, digest);
    return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

// Finishes the context and gives its digest in hex.
inline std::string FinishedMd5Hex(MD5_CTX& ctx) {
    unsigned char digest[16];
    char hex[33];
    MD5ToHex(MD5Final(&ctx, digest), hex, sizeof hex);
    return hex;
}

inline std::string Md5Hex(std::string_view bytes) {
    MD5_CTX ctx;
    MD5Init(&ctx);
    MD5Update(&ctx, bytes.data(), uint32_t(bytes.size()));
    return FinishedMd5Hex(ctx);
}

// Every authenticated URL of one nonce carries the next decimal counter and
// the hex MD5 of MD5(password), the 16 nonce bytes and that counter.
class TNonceSession {
public:
    TNonceSession(const std::string& nonceHex, const std::string& password)
        : nonce_(nonceHex), key_(Md5Digest(password)) {
        for (std::size_t i = 0; i + 1 < nonceHex.size() && nonceBytes_.size() < 16; i += 2)
            nonceBytes_ += char(std::stoi(nonceHex.substr(i, 2), nullptr, 16));
    }
    const std::string& Nonce() const { return nonce_; }
    // The next URL's counter; a test may skip or repeat one.
    int Counter = 1;
    // path?nonce=...&response=...rest
    std::string Url(const std::string& path, const std::string& rest = "") {
        const std::string response = Md5Hex(key_ + nonceBytes_ + std::to_string(Counter++));
        return path + "?nonce=" + nonce_ + "&response=" + response + rest;
    }

private:
    std::string nonce_, key_, nonceBytes_;
};

}  // namespace yorde::test
