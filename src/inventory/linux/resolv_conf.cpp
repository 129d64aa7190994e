#include "inventory/linux/resolv_conf.h"

#include <arpa/inet.h>

#include "inventory/linux/common/bounded_file.h"

namespace quorvane::linux_inventory {

namespace {

// A resolv.conf is a few hundred bytes; anything this large is not one.
constexpr std::size_t kMaxFileBytes = 1 << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool IsAddress(std::string_view word) {
    // An IPv6 server may carry a zone ("fe80::1%eth0"); the address is before it.
    const std::string address(word.substr(0, word.find('%')));
    unsigned char buffer[16];
    return inet_pton(AF_INET, address.c_str(), buffer) == 1 || inet_pton(AF_INET6, address.c_str(), buffer) == 1;
}

}  // namespace

ResolverConfig ParseResolvConf(std::string_view text) {
    ResolverConfig config;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

        const auto words = Words(line);
        if (words.size() < 2 || words[0].front() == '#' || words[0].front() == ';') continue;
        if (words[0] == "nameserver") {
            if (IsAddress(words[1])) config.nameservers.emplace_back(words[1]);
        } else if (words[0] == "domain" || words[0] == "search") {
            config.domain = std::string(words[1]);
        }
    }
    return config;
}

std::optional<ResolverConfig> ReadResolvConf(const std::string& path) {
    const auto text = ReadBoundedFile(path, kMaxFileBytes);
    if (!text) return std::nullopt;
    return ParseResolvConf(*text);
}

}  // namespace quorvane::linux_inventory
