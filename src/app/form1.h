#pragma once

#include "app/controls.h"
#include "inventory/adapter_source.h"
#include "inventory/short_date.h"

namespace quorvane {

// The controls of the main window, owned by the frontend for the window's life.
struct Form1Controls {
    FormSurface& form;
    ListViewControl& listView1;
    Button& command1;  // "&List Network Adaptors"
    Button& command2;  // "&Copy table to clipboard"
    CheckBox& chkCommas;
    Clipboard& clipboard;
    FailureSignal& failureSignal;
};

enum class FormEvent { Load, Resize, Command1Click, Command2Click };

// The main window's logic: its four event handlers and column sizing, written
// once against the controls' interfaces. A frontend creates the native
// controls and forwards their events through Dispatch.
class Form1 {
public:
    Form1(Form1Controls controls, AdapterSource& source, const ShortDateFormat& shortDate);

    // Runs the event's handler. A failure that the handler passes on ends
    // here: the program carries on and the failure signal beeps.
    void Dispatch(FormEvent event) noexcept;

    // The handlers themselves; failures pass to the caller (Form_Resize absorbs its own).
    void Form_Load();
    void Form_Resize();
    void Command1_Click();
    void Command2_Click();

    // Fits every column of `listView` to its contents.
    static void AutoSizeColumns(ListViewControl& listView);

private:
    Form1Controls c_;
    AdapterSource& source_;
    const ShortDateFormat& shortDate_;
};

}  // namespace quorvane
