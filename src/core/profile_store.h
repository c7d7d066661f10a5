// The INI file seen as profile calls: one call per read or write, the file is
// never held open. The Windows implementation goes through the profile API;
// tests may use an in-memory one with the same parsing rules.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quibex {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // Integer read with the profile API's rules: a missing or empty value
    // gives `fallback`; otherwise the leading decimal number (0 for text).
    virtual int32_t readInt(const std::wstring& section, const std::wstring& key, int32_t fallback) = 0;
    // String read into a buffer of `bufferChars` characters (at most
    // bufferChars - 1 come back); a missing key gives `fallback`.
    virtual std::wstring readString(const std::wstring& section, const std::wstring& key, const std::wstring& fallback,
                                    size_t bufferChars) = 0;
    // Writes one value; std::nullopt deletes the key. Failures are ignored.
    virtual void write(const std::wstring& section, const std::wstring& key,
                       const std::optional<std::wstring>& value) = 0;
};

}  // namespace quibex
