#pragma once

#include "inventory/adapter_source.h"
#include "inventory/row_sink.h"
#include "inventory/short_date.h"

namespace quorvane {

// Asks `source` for every adapter configuration and appends one row per
// adapter to `table`, in the service's order: the adapter index, then ten
// sub-items (MAC, first IP address, DHCP server, lease obtained, lease
// expires, DNS for WINS, host, domain, description, DNS servers joined by ",").
// Every failure is absorbed statement by statement: a failing read leaves its
// cell empty and the rest of the row, and the other adapters, still follow.
void ListAdapters(AdapterSource& source, RowSink& table, const ShortDateFormat& shortDate);

}  // namespace quorvane
