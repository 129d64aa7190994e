#pragma once

#include <cstdint>
#include <string>

#include "app/adapter_table.h"

namespace quorvane {

// What the window's logic needs of the platform's controls. Geometry is in
// twips (1/1440 inch) from the top left of the window's client area, as
// single-precision numbers; a frontend converts at the window's DPI. Every
// operation may fail with `Error`.

class PlacedControl {
public:
    virtual ~PlacedControl() = default;
    [[nodiscard]] virtual float Top() const = 0;
    virtual void SetTop(float twips) = 0;
    [[nodiscard]] virtual float Width() const = 0;
    virtual void SetWidth(float twips) = 0;  // never called with a negative value
    [[nodiscard]] virtual float Height() const = 0;
    virtual void SetHeight(float twips) = 0;  // never called with a negative value
};

class Button : public PlacedControl {
public:
    virtual void SetEnabled(bool enabled) = 0;
};

class CheckBox : public PlacedControl {
public:
    static constexpr std::int16_t kUnchecked = 0;
    static constexpr std::int16_t kChecked = 1;
    static constexpr std::int16_t kGrayed = 2;
    [[nodiscard]] virtual std::int16_t Value() const = 0;
};

// The list view that shows the table.
class ListViewControl : public PlacedControl, public AdapterTable {
public:
    // One line per row, one column per header, the header row visible.
    virtual void SetReportView() = 0;
    // Rows stay in the order they were added.
    virtual void DisableSorting() = 0;
    // Fits the column at `position` (from 0) to the wider of its title and its
    // longest cell; the last column also takes the width the others leave free.
    // The platform's answer is not examined: a column it does not size keeps its width.
    virtual void AutoSizeColumn(std::int32_t position) = 0;
};

// The window's client area.
class FormSurface {
public:
    virtual ~FormSurface() = default;
    [[nodiscard]] virtual float ScaleWidth() const = 0;
    [[nodiscard]] virtual float ScaleHeight() const = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's whole content with `text` as plain text in one
    // operation; on failure the previous content stays.
    virtual void ReplaceText(const std::u16string& text) = 0;
};

// How a failure that reaches the event dispatch is signalled: the program
// carries on and sounds the system's error beep.
class FailureSignal {
public:
    virtual ~FailureSignal() = default;
    virtual void Beep() noexcept = 0;
};

}  // namespace quorvane
