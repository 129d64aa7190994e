#include "app/form1.h"

#include "app/columns.h"
#include "app/layout.h"
#include "app/table_text.h"
#include "base/error.h"
#include "inventory/list_adapters.h"

namespace quorvane {

namespace {

// Disables a button for the length of its command and enables it again on
// every way out, so a failed command never leaves its button dead. The
// failure itself still travels on to the event dispatch.
class DisabledWhileRunning {
public:
    explicit DisabledWhileRunning(Button& button) : button_(button) { button_.SetEnabled(false); }
    DisabledWhileRunning(const DisabledWhileRunning&) = delete;
    DisabledWhileRunning& operator=(const DisabledWhileRunning&) = delete;
    ~DisabledWhileRunning() {
        if (done_) return;
        try {
            button_.SetEnabled(true);
        } catch (...) {
            // Already unwinding from the command's own failure; that one is reported.
        }
    }
    // The normal end: a failure to enable the button is the command's failure.
    void Finish() {
        done_ = true;
        button_.SetEnabled(true);
    }

private:
    Button& button_;
    bool done_ = false;
};

// A width or height below zero is refused and the control keeps its size.
float NonNegativeSize(float twips) {
    if (twips < 0.0f) ThrowInvalidArgument("negative control size");
    return twips;
}

}  // namespace

Form1::Form1(Form1Controls controls, AdapterSource& source, const ShortDateFormat& shortDate)
    : c_(controls), source_(source), shortDate_(shortDate) {}

void Form1::Dispatch(FormEvent event) noexcept {
    try {
        switch (event) {
            case FormEvent::Load:
                Form_Load();
                break;
            case FormEvent::Resize:
                Form_Resize();
                break;
            case FormEvent::Command1Click:
                Command1_Click();
                break;
            case FormEvent::Command2Click:
                Command2_Click();
                break;
        }
    } catch (const std::exception&) {
        // The program carries on; the user hears that the command failed.
        c_.failureSignal.Beep();
    }
}

void Form1::Form_Load() {
    ListViewControl& table = c_.listView1;
    table.ClearRows();
    table.ClearColumns();
    for (const std::u16string_view title : kColumnTitles) table.AddColumn(title);
    table.SetReportView();
    table.DisableSorting();
}

void Form1::Command1_Click() {
    DisabledWhileRunning busy(c_.command1);
    c_.listView1.ClearRows();
    ListAdapters(source_, c_.listView1, shortDate_);
    AutoSizeColumns(c_.listView1);
    busy.Finish();
}

void Form1::AutoSizeColumns(ListViewControl& listView) {
    const std::int32_t count = listView.ColumnCount();
    for (std::int32_t position = 0; position < count; ++position) listView.AutoSizeColumn(position);
}

void Form1::Command2_Click() {
    DisabledWhileRunning busy(c_.command2);
    const std::u16string_view separator = ColumnSeparator(c_.chkCommas.Value());
    // The clipboard is replaced only once the whole text is built, so a failed
    // export leaves the user's clipboard as it was.
    const std::u16string text = TableText(c_.listView1, separator);
    c_.clipboard.ReplaceText(text);
    busy.Finish();
}

void Form1::Form_Resize() {
    Button& command1 = c_.command1;
    ListViewControl& listView1 = c_.listView1;

    // The bottom row keeps to the bottom edge; the table takes the rest. Only
    // the stored top is rounded to single precision, not the client height
    // less the margin.
    Absorb([&] {
        command1.SetTop(CheckedSubtractRoundedOnce(c_.form.ScaleHeight(), kLayoutMargin, command1.Height()));
    });
    Absorb([&] { c_.command2.SetTop(command1.Top()); });
    Absorb([&] { c_.chkCommas.SetTop(command1.Top()); });
    Absorb([&] { listView1.SetWidth(NonNegativeSize(CheckedSubtract(c_.form.ScaleWidth(), kListViewSideMargins))); });
    Absorb([&] {
        const float aboveBottomRow = CheckedSubtract(command1.Top(), kLayoutMargin);
        listView1.SetHeight(NonNegativeSize(CheckedSubtract(aboveBottomRow, listView1.Top())));
    });
}

}  // namespace quorvane
