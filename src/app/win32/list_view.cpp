#include "app/win32/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "base/checked_int.h"
#include "base/error.h"
#include "win32/platform_error.h"
#include "win32/platform_text.h"

namespace quorvane::win32 {

namespace {

// A new column is one inch wide until the list command fits it.
constexpr float kDefaultColumnTwips = 1440.0f;

// Texts longer than this many characters are refused rather than read.
constexpr std::size_t kMaxTextLength = std::size_t{1} << 24;

LPARAM AsLParam(const void* p) { return reinterpret_cast<LPARAM>(p); }

}  // namespace

Win32ListView::Win32ListView(HWND hwnd, const WindowDpi& dpi, const DesignRect& design)
    : Placed<ListViewControl>(hwnd, dpi, design) {
    // Rows already in the control (none for a new one) hold no tracked sub-items.
    const LRESULT rows = ::SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0);
    subItemCounts_.assign(rows > 0 ? static_cast<std::size_t>(rows) : 0u, 0);
}

void Win32ListView::ClearRows() {
    if (!::SendMessageW(hwnd(), LVM_DELETEALLITEMS, 0, 0)) ThrowLastError("LVM_DELETEALLITEMS");
    subItemCounts_.clear();
}

void Win32ListView::ClearColumns() {
    for (std::int32_t n = ColumnCount(); n > 0; --n) {
        if (!::SendMessageW(hwnd(), LVM_DELETECOLUMN, 0, 0)) ThrowLastError("LVM_DELETECOLUMN");
    }
}

void Win32ListView::AddColumn(std::u16string_view title) {
    std::wstring text = ToWide(title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = ToPixels({0.0f, 0.0f, kDefaultColumnTwips, 0.0f}, Dpi()).cx;
    column.pszText = text.data();
    const auto at = static_cast<WPARAM>(ColumnCount());
    if (::SendMessageW(hwnd(), LVM_INSERTCOLUMNW, at, AsLParam(&column)) < 0) ThrowLastError("LVM_INSERTCOLUMNW");
}

std::int32_t Win32ListView::AppendRow(std::u16string_view text) {
    std::wstring wide = ToWide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = wide.data();
    const LRESULT index = ::SendMessageW(hwnd(), LVM_INSERTITEMW, 0, AsLParam(&item));
    if (index < 0 || static_cast<std::size_t>(index) > subItemCounts_.size()) ThrowLastError("LVM_INSERTITEMW");
    subItemCounts_.insert(subItemCounts_.begin() + index, 0);
    return CheckedAdd(static_cast<std::int32_t>(index), 1);
}

void Win32ListView::SetSubItem(std::int32_t row, std::int32_t n, std::u16string_view text) {
    const int index = RowIndex(row);
    if (n < 1) ThrowInvalidArgument("sub-item position below 1");
    std::wstring wide = ToWide(text);
    LVITEMW item{};
    item.iSubItem = n;
    item.pszText = wide.data();
    if (!::SendMessageW(hwnd(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), AsLParam(&item))) {
        ThrowLastError("LVM_SETITEMTEXTW");
    }
    auto& count = subItemCounts_[static_cast<std::size_t>(index)];
    count = std::max(count, n);
}

std::int32_t Win32ListView::ColumnCount() const {
    const auto header = reinterpret_cast<HWND>(::SendMessageW(hwnd(), LVM_GETHEADER, 0, 0));
    if (!header) ThrowLastError("LVM_GETHEADER");
    const LRESULT n = ::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
    if (n < 0) ThrowLastError("HDM_GETITEMCOUNT");
    return CheckedLength(static_cast<std::size_t>(n));
}

std::u16string Win32ListView::ColumnTitle(std::int32_t column) const {
    const auto index = IndexOfPosition(column, static_cast<std::size_t>(ColumnCount()), "column position out of range");
    // The control copies at most cchTextMax - 1 characters and does not say
    // how long the title is: a full buffer may have cut it, so grow and ask again.
    std::wstring buffer(64, L'\0');
    for (;;) {
        LVCOLUMNW query{};
        query.mask = LVCF_TEXT;
        query.pszText = buffer.data();
        query.cchTextMax = static_cast<int>(buffer.size());
        if (!::SendMessageW(hwnd(), LVM_GETCOLUMNW, static_cast<WPARAM>(index), AsLParam(&query))) {
            ThrowLastError("LVM_GETCOLUMNW");
        }
        const std::size_t length = std::wcslen(query.pszText);
        if (length + 1 < buffer.size()) return FromWide({query.pszText, length});
        if (buffer.size() >= kMaxTextLength) ThrowInvalidArgument("column title too long");
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

std::int32_t Win32ListView::RowCount() const {
    const LRESULT n = ::SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0);
    if (n < 0) ThrowLastError("LVM_GETITEMCOUNT");
    return CheckedLength(static_cast<std::size_t>(n));
}

std::u16string Win32ListView::RowText(std::int32_t row) const { return ItemText(RowIndex(row), 0); }

std::int32_t Win32ListView::SubItemCount(std::int32_t row) const {
    return subItemCounts_[static_cast<std::size_t>(RowIndex(row))];
}

std::u16string Win32ListView::SubItemText(std::int32_t row, std::int32_t subItem) const {
    const int index = RowIndex(row);
    IndexOfPosition(subItem, static_cast<std::size_t>(subItemCounts_[static_cast<std::size_t>(index)]),
                    "sub-item position out of range");
    return ItemText(index, subItem);
}

void Win32ListView::SetReportView() { ChangeStyle(LVS_TYPEMASK, LVS_REPORT); }

void Win32ListView::DisableSorting() { ChangeStyle(LVS_SORTASCENDING | LVS_SORTDESCENDING, 0); }

void Win32ListView::AutoSizeColumn(std::int32_t position) {
    // The control's answer is not examined: a column it does not size keeps its width.
    ::SendMessageW(hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(position),
                   MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
}

void Win32ListView::ApplySystemColours() {
    ::SendMessageW(hwnd(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(::GetSysColor(COLOR_WINDOWTEXT)));
    ::SendMessageW(hwnd(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(::GetSysColor(COLOR_WINDOW)));
    ::SendMessageW(hwnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(::GetSysColor(COLOR_WINDOW)));
}

int Win32ListView::RowIndex(std::int32_t row) const {
    return static_cast<int>(IndexOfPosition(row, subItemCounts_.size(), "row position out of range"));
}

std::u16string Win32ListView::ItemText(int index, int subItem) const {
    // LVM_GETITEMTEXTW answers with the number of characters copied, which
    // fills the buffer but for the terminator when the text was cut.
    std::wstring buffer(128, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const LRESULT copied = ::SendMessageW(hwnd(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), AsLParam(&item));
        if (copied < 0) ThrowLastError("LVM_GETITEMTEXTW");
        const auto length = static_cast<std::size_t>(copied);
        if (length + 1 < buffer.size()) return FromWide({item.pszText, length});
        if (buffer.size() >= kMaxTextLength) ThrowInvalidArgument("cell text too long");
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

void Win32ListView::ChangeStyle(LONG_PTR clear, LONG_PTR set) {
    ::SetLastError(ERROR_SUCCESS);
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd(), GWL_STYLE);
    if (style == 0 && ::GetLastError() != ERROR_SUCCESS) ThrowLastError("GetWindowLongPtrW");
    ::SetLastError(ERROR_SUCCESS);
    if (::SetWindowLongPtrW(hwnd(), GWL_STYLE, (style & ~clear) | set) == 0 && ::GetLastError() != ERROR_SUCCESS) {
        ThrowLastError("SetWindowLongPtrW");
    }
}

}  // namespace quorvane::win32
