#include "inventory/linux/leases/dhclient_leases.h"

#include <charconv>
#include <chrono>
#include <optional>
#include <vector>

#include "inventory/linux/common/address_text.h"
#include "inventory/linux/common/seconds_text.h"

namespace quorvane::linux_inventory {

namespace {

struct Token {
    enum Kind { Word, Quoted, Punctuation } kind;
    std::string text;
};

// dhclient's lease syntax: words, quoted strings with backslash escapes,
// the punctuation { } ; , and comments from # to the line's end.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : text_(text) {}

    std::optional<Token> Next() {
        SkipBlanksAndComments();
        if (pos_ >= text_.size()) return std::nullopt;
        const char c = text_[pos_];
        if (c == '{' || c == '}' || c == ';' || c == ',') {
            ++pos_;
            return Token{Token::Punctuation, std::string(1, c)};
        }
        if (c == '"') return QuotedString();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]) && std::string_view("{};,\"#").find(text_[pos_]) == std::string_view::npos) {
            ++pos_;
        }
        return Token{Token::Word, std::string(text_.substr(start, pos_ - start))};
    }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
    static bool IsOctal(char c) { return c >= '0' && c <= '7'; }

    void SkipBlanksAndComments() {
        while (pos_ < text_.size()) {
            if (IsBlank(text_[pos_])) {
                ++pos_;
            } else if (text_[pos_] == '#') {
                const std::size_t end = text_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else {
                return;
            }
        }
    }

    // dhclient writes unprintable bytes as \ooo; other escaped characters
    // stand for themselves. An unterminated string runs to the text's end.
    Token QuotedString() {
        std::string value;
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            if (text_[pos_] == '\\' && pos_ + 1 < text_.size()) {
                if (pos_ + 3 < text_.size() && IsOctal(text_[pos_ + 1]) && IsOctal(text_[pos_ + 2]) &&
                    IsOctal(text_[pos_ + 3])) {
                    const int code = (text_[pos_ + 1] - '0') * 64 + (text_[pos_ + 2] - '0') * 8 + (text_[pos_ + 3] - '0');
                    value.push_back(static_cast<char>(code & 0xFF));
                    pos_ += 4;
                    continue;
                }
                ++pos_;
            }
            value.push_back(text_[pos_++]);
        }
        ++pos_;  // the closing quote
        return Token{Token::Quoted, std::move(value)};
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// No statement dhclient writes comes near this; longer ones are cut.
constexpr std::size_t kMaxStatementTokens = 64;

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || stop != text.data() + text.size()) return std::nullopt;
    return value;
}

// "yyyy/mm/dd" and "hh:mm:ss" in UTC as seconds since the epoch.
std::optional<std::int64_t> UtcSeconds(std::string_view date, std::string_view time) {
    if (date.size() < 8 || time.size() != 8 || time[2] != ':' || time[5] != ':') return std::nullopt;
    const std::size_t slash1 = date.find('/');
    if (slash1 == std::string_view::npos) return std::nullopt;
    const std::size_t slash2 = date.find('/', slash1 + 1);
    if (slash2 == std::string_view::npos) return std::nullopt;
    const auto year = Number(date.substr(0, slash1));
    const auto month = Number(date.substr(slash1 + 1, slash2 - slash1 - 1));
    const auto day = Number(date.substr(slash2 + 1));
    const auto hour = Number(time.substr(0, 2));
    const auto minute = Number(time.substr(3, 2));
    const auto second = Number(time.substr(6, 2));
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    if (*year < 1 || *year > 9999 || *month < 1 || *month > 12 || *day < 1 || *day > 31) return std::nullopt;
    if (*hour < 0 || *hour > 23 || *minute < 0 || *minute > 59 || *second < 0 || *second > 60) return std::nullopt;
    using namespace std::chrono;
    const year_month_day calendar{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                                  std::chrono::day{static_cast<unsigned>(*day)}};
    if (!calendar.ok()) return std::nullopt;
    const auto days = sys_days(calendar).time_since_epoch().count();
    return std::int64_t{days} * 86400 + *hour * 3600 + *minute * 60 + *second;
}

// What one lease block says, before the obtained time is worked out.
struct LeaseBlock {
    std::optional<std::string> interfaceName;
    DhcpLease lease;
    std::optional<std::int64_t> leaseSeconds;
};

void TakeOption(const std::vector<Token>& s, LeaseBlock& block) {
    if (s.size() < 3) return;
    const std::string& name = s[1].text;
    if (name == "dhcp-server-identifier" && IsIpv4Text(s[2].text)) {
        block.lease.server = s[2].text;
    } else if (name == "dhcp-lease-time") {
        block.leaseSeconds = ParseSeconds(s[2].text);
    } else if (name == "domain-name" && s[2].kind == Token::Quoted) {
        block.lease.domain = FirstDomainName(s[2].text);
    } else if (name == "domain-name-servers") {
        block.lease.dnsServers.clear();
        for (std::size_t i = 2; i < s.size(); ++i) {
            if (s[i].kind == Token::Word && IsIpv4Text(s[i].text)) block.lease.dnsServers.push_back(s[i].text);
        }
    }
}

void TakeExpire(const std::vector<Token>& s, LeaseBlock& block) {
    block.lease.expires.reset();
    if (s.size() == 2 && s[1].text == "never") return;
    if (s.size() == 3 && s[1].text == "epoch") {
        block.lease.expires = ParseSeconds(s[2].text);
    } else if (s.size() == 4) {
        block.lease.expires = UtcSeconds(s[2].text, s[3].text);
    }
}

void TakeStatement(const std::vector<Token>& s, LeaseBlock& block) {
    if (s.empty() || s[0].kind != Token::Word) return;
    if (s[0].text == "interface" && s.size() == 2 && s[1].kind == Token::Quoted) {
        block.interfaceName = s[1].text;
    } else if (s[0].text == "fixed-address" && s.size() == 2 && IsIpv4Text(s[1].text)) {
        block.lease.address = s[1].text;
    } else if (s[0].text == "option") {
        TakeOption(s, block);
    } else if (s[0].text == "expire") {
        TakeExpire(s, block);
    }
}

}  // namespace

void ForEachDhclientLease(std::string_view text, const DhclientLeaseSink& take) {
    Tokenizer tokens(text);
    std::optional<LeaseBlock> current;  // the lease block being read
    std::vector<Token> statement;
    bool cut = false;                   // the statement grew too long
    std::size_t depth = 0;
    while (auto token = tokens.Next()) {
        const bool punctuation = token->kind == Token::Punctuation;
        if (punctuation && token->text == "{") {
            // Only a top-level "lease {" opens a block we read; other blocks
            // (lease6, and anything nested) are skipped whole.
            if (depth == 0 && statement.size() == 1 && statement[0].kind == Token::Word &&
                statement[0].text == "lease") {
                current.emplace();
            }
            ++depth;
            statement.clear();
            cut = false;
        } else if (punctuation && token->text == "}") {
            if (depth > 0) --depth;
            if (depth == 0 && current) {
                if (current->interfaceName) {
                    current->lease.obtained = ObtainedAt(current->lease.expires, current->leaseSeconds);
                    take(*current->interfaceName, std::move(current->lease));
                }
                current.reset();
            }
            statement.clear();
            cut = false;
        } else if (punctuation && token->text == ";") {
            if (depth == 1 && current && !cut) TakeStatement(statement, *current);
            statement.clear();
            cut = false;
        } else if (!(punctuation && token->text == ",")) {
            if (statement.size() < kMaxStatementTokens) {
                statement.push_back(std::move(*token));
            } else {
                cut = true;
            }
        }
    }
}

std::string_view WholeLeaseBlocks(std::string_view cutText) {
    // dhclient starts each top-level statement on a line of its own, and
    // escapes line breaks inside strings, so a line that starts with "lease"
    // starts a block.
    const std::size_t start = cutText.find("\nlease");
    return start == std::string_view::npos ? std::string_view() : cutText.substr(start + 1);
}

}  // namespace quorvane::linux_inventory
