#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <QTreeView>
#include <QWidget>
#include <optional>

#include "app/form1.h"
#include "app/qt/adapter_table_model.h"
#include "app/qt/adapter_tree_view.h"
#include "app/qt/qt_controls.h"
#include "app/qt/qt_list_view.h"
#include "app/qt/wrapping_check_box.h"

namespace quorvane::qt {

// What the window works with besides its own controls; the program passes
// the real ones, tests pass fakes.
struct QtWindowServices {
    AdapterSource& source;
    const ShortDateFormat& shortDate;
    Clipboard& clipboard;
    FailureSignal& failureSignal;
};

// Form1 on Qt: the window titled "Quorvane", its four controls placed
// absolutely at the screen's logical DPI, and its events forwarded to the
// window's logic, which decides everything the handlers do.
class MainWindow final : public QWidget {
public:
    // Creates the controls and runs the load handler; the first layout
    // follows when the window is shown.
    explicit MainWindow(QtWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The DPI the twips are converted at, fixed when the window is created.
    [[nodiscard]] float Dpi() const noexcept { return dpi_; }

    // The native controls and their adapters, for tests and benchmarks.
    [[nodiscard]] QTreeView& ListView1Widget() noexcept { return *listView1Widget_; }
    [[nodiscard]] QPushButton& Command1Widget() noexcept { return *command1Widget_; }
    [[nodiscard]] QPushButton& Command2Widget() noexcept { return *command2Widget_; }
    [[nodiscard]] WrappingCheckBox& ChkCommasWidget() noexcept { return *chkCommasWidget_; }
    [[nodiscard]] QtListView& ListView1() noexcept { return *listView1_; }
    [[nodiscard]] QtButton& Command1() noexcept { return *command1_; }
    [[nodiscard]] QtButton& Command2() noexcept { return *command2_; }
    [[nodiscard]] QtCheckBox& ChkCommas() noexcept { return *chkCommas_; }
    [[nodiscard]] Form1& Logic() noexcept { return *form1_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    float dpi_;
    // Native widgets: children of this window, which deletes them.
    QTreeView* listView1Widget_;
    AdapterTableModel* model_;
    QPushButton* command1Widget_;
    QPushButton* command2Widget_;
    WrappingCheckBox* chkCommasWidget_;
    // Their adapters for the window's logic.
    std::optional<QtListView> listView1_;
    std::optional<QtButton> command1_;
    std::optional<QtButton> command2_;
    std::optional<QtCheckBox> chkCommas_;
    std::optional<QtFormSurface> surface_;
    std::optional<Form1> form1_;
};

}  // namespace quorvane::qt
