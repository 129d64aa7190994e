#pragma once

// The real main window with a fake adapter source, created and shown in the
// test process, and small readers of its native controls.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/win32/main_window.h"
#include "support/counting_signal.h"
#include "support/day_month_year_format.h"
#include "support/fake_adapter_source.h"

namespace quorvane::win32::testing {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Handles whatever the window has queued.
    static void Pump();

    [[nodiscard]] HWND Control(ControlId id) const { return ::GetDlgItem(window_, id); }
    void Click(ControlId id);

    [[nodiscard]] std::wstring ColumnTitle(int position) const;
    [[nodiscard]] int RowCount() const;
    [[nodiscard]] std::wstring Cell(int row, int subItem) const;  // from 0, as the control counts
    [[nodiscard]] int ColumnWidth(int position) const;

    // A control's rectangle in the main window's client coordinates.
    [[nodiscard]] RECT ControlRect(ControlId id) const;
    [[nodiscard]] RECT ClientRect() const;
    // Sizes the window so that its client area is `width` x `height` pixels.
    void SetClientSize(int width, int height);

    quorvane::testing::FakeAdapterSource source_;
    quorvane::testing::DayMonthYearFormat shortDate_;
    quorvane::testing::CountingSignal signal_;
    // What the window's copy calls each time it finds the clipboard taken.
    std::function<void()> clipboardTaken_;
    Win32WindowServices services_{source_, shortDate_, signal_, [this] {
                                      if (clipboardTaken_) clipboardTaken_();
                                  }};
    HWND window_ = nullptr;
};

// A window's text: the main window's title, a control's caption.
std::wstring WindowText(HWND hwnd);

// Two adapters as the management service might report them.
std::vector<quorvane::testing::FakeAdapter> TwoAdapters();

}  // namespace quorvane::win32::testing
