#pragma once

#include <array>
#include <string_view>

namespace quorvane {

// The table's columns, in order; column 1 holds the row text, column j + 1
// sub-item j.
inline constexpr std::array<std::u16string_view, 11> kColumnTitles = {
    u"NIC", u"MAC",  u"IP Addr", u"DHCP Svr", u"LeaseObt", u"LeaseExp",
    u"WINS", u"Host", u"Domain",  u"NIC Name", u"DNS",
};

}  // namespace quorvane
