// The list view adapter against a real SysListView32: what the table keeps
// that the control does not tell (sub-item counts), texts longer than the
// read buffers, positions out of range, and geometry in twips.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/win32/list_view.h"
#include "base/error.h"
#include "support/error_kind.h"

namespace quorvane::win32::testing {
namespace {

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = ::CreateWindowExW(0, WC_STATICW, L"", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        list_ = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 400, 300, parent_,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(list_, nullptr);
        table_ = std::make_unique<Win32ListView>(list_, dpi_, DesignRect{120.0f, 120.0f, 3000.0f, 2000.0f});
        for (const char16_t* title : {u"A", u"B", u"C", u"D", u"E", u"F", u"G", u"H", u"I", u"J", u"K"}) {
            table_->AddColumn(title);
        }
    }
    void TearDown() override {
        table_.reset();
        if (parent_) ::DestroyWindow(parent_);
    }

    [[nodiscard]] RECT NativeRect() const {
        RECT r{};
        ::GetWindowRect(list_, &r);
        ::MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    WindowDpi dpi_{144};
    HWND parent_ = nullptr;
    HWND list_ = nullptr;
    std::unique_ptr<Win32ListView> table_;
};

using quorvane::testing::ErrorKindOf;

TEST_F(ListViewTest, CountsTheSubItemsEachRowWasGiven) {
    const auto first = table_->AppendRow(u"1");
    const auto second = table_->AppendRow(u"2");
    const auto third = table_->AppendRow(u"3");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(third, 3);
    table_->SetSubItem(first, 1, u"mac");
    table_->SetSubItem(first, 10, u"dns");
    table_->SetSubItem(second, 3, u"dhcp");

    EXPECT_EQ(table_->RowCount(), 3);
    EXPECT_EQ(table_->SubItemCount(first), 10);
    EXPECT_EQ(table_->SubItemCount(second), 3);
    EXPECT_EQ(table_->SubItemCount(third), 0);
    EXPECT_EQ(table_->SubItemText(first, 1), u"mac");
    for (int j = 2; j <= 9; ++j) EXPECT_EQ(table_->SubItemText(first, j), u"") << j;
    EXPECT_EQ(table_->SubItemText(first, 10), u"dns");
    EXPECT_EQ(table_->RowText(second), u"2");

    table_->ClearRows();
    EXPECT_EQ(table_->RowCount(), 0);
    EXPECT_EQ(table_->ColumnCount(), 11);
    const auto again = table_->AppendRow(u"9");
    EXPECT_EQ(again, 1);
    EXPECT_EQ(table_->SubItemCount(again), 0);
}

TEST_F(ListViewTest, ReadsTextsLongerThanItsBuffersWhole) {
    std::u16string longText;
    for (int i = 0; i < 5000; ++i) longText += static_cast<char16_t>(u'a' + i % 26);
    const std::u16string exactly127(127, u'x');  // one below the first read buffer
    const std::u16string exactly128(128, u'y');
    const auto row = table_->AppendRow(longText);
    table_->SetSubItem(row, 1, exactly127);
    table_->SetSubItem(row, 2, exactly128);
    table_->SetSubItem(row, 3, u"caf\u00e9 \u20ac");
    table_->AddColumn(longText.substr(0, 700));

    EXPECT_EQ(table_->RowText(row), longText);
    EXPECT_EQ(table_->SubItemText(row, 1), exactly127);
    EXPECT_EQ(table_->SubItemText(row, 2), exactly128);
    EXPECT_EQ(table_->SubItemText(row, 3), u"caf\u00e9 \u20ac");
    EXPECT_EQ(table_->ColumnTitle(12), longText.substr(0, 700));
    EXPECT_EQ(table_->ColumnTitle(1), u"A");
}

TEST_F(ListViewTest, PositionsOutsideTheTableAreRefused) {
    const auto row = table_->AppendRow(u"1");
    table_->SetSubItem(row, 2, u"x");
    EXPECT_EQ(ErrorKindOf([&] { static_cast<void>(table_->RowText(0)); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { static_cast<void>(table_->RowText(2)); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { static_cast<void>(table_->SubItemText(row, 3)); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { static_cast<void>(table_->SubItemCount(-1)); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { table_->SetSubItem(2, 1, u"x"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { table_->SetSubItem(row, 0, u"x"); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(ErrorKindOf([&] { static_cast<void>(table_->ColumnTitle(12)); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(table_->SubItemCount(row), 2);
}

TEST_F(ListViewTest, ClearColumnsRemovesEveryColumn) {
    table_->ClearColumns();
    EXPECT_EQ(table_->ColumnCount(), 0);
    table_->AddColumn(u"only");
    EXPECT_EQ(table_->ColumnCount(), 1);
    EXPECT_EQ(table_->ColumnTitle(1), u"only");
}

TEST_F(ListViewTest, GeometryReadsBackInTwipsWhileTheControlSitsOnWholePixels) {
    table_->SetTop(1000.5f);
    table_->SetWidth(2001.0f);
    table_->SetHeight(999.0f);
    EXPECT_EQ(table_->Top(), 1000.5f);
    EXPECT_EQ(table_->Width(), 2001.0f);
    EXPECT_EQ(table_->Height(), 999.0f);
    const RECT r = NativeRect();  // at 144 dpi a pixel is 10 twips
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right, 212);
    EXPECT_EQ(r.bottom, 200);

    EXPECT_EQ(ErrorKindOf([&] { table_->SetWidth(-1.0f); }), ErrorKind::InvalidArgument);
    EXPECT_EQ(table_->Width(), 2001.0f);
    table_->SetTop(-500.0f);  // a negative top is a place like any other
    EXPECT_EQ(NativeRect().top, -50);
}

TEST_F(ListViewTest, ReportViewAndSortingAreSetOnTheNativeStyle) {
    ::SetWindowLongPtrW(list_, GWL_STYLE, (::GetWindowLongPtrW(list_, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_ICON |
                                              LVS_SORTASCENDING);
    table_->SetReportView();
    table_->DisableSorting();
    const auto style = ::GetWindowLongPtrW(list_, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING), 0);
    table_->AppendRow(u"b");
    table_->AppendRow(u"a");
    EXPECT_EQ(table_->RowText(1), u"b");
}

}  // namespace
}  // namespace quorvane::win32::testing
