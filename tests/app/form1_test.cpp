#include "app/form1.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/counting_signal.h"
#include "support/day_month_year_format.h"
#include "support/fake_adapter_source.h"
#include "app/columns.h"
#include "app/layout.h"
#include "support/fake_controls.h"

namespace quorvane {
namespace {

using namespace quorvane::testing;

class Form1Test : public ::testing::Test {
protected:
    Form1Test() {
        Place(listView, kListView1Design);
        Place(command1, kCommand1Design);
        Place(command2, kCommand2Design);
        Place(chkCommas, kChkCommasDesign);
    }

    template <typename Control>
    static void Place(Control& c, const DesignRect& r) {
        c.top = r.top;
        c.width = r.width;
        c.height = r.height;
    }

    FakeForm surface;
    FakeListView listView;
    FakeButton command1, command2;
    FakeCheckBox chkCommas;
    FakeClipboard clipboard;
    CountingSignal signal;
    FakeAdapterSource source;
    DayMonthYearFormat format;
    Form1 form{Form1Controls{surface, listView, command1, command2, chkCommas, clipboard, signal}, source, format};
};

TEST_F(Form1Test, LoadCreatesTheElevenColumnsInReportViewWithoutSorting) {
    listView.table.AddColumn(u"stale");
    listView.table.AppendRow(u"stale");
    form.Dispatch(FormEvent::Load);
    EXPECT_EQ(listView.table.columns(), std::vector<std::u16string>(kColumnTitles.begin(), kColumnTitles.end()));
    EXPECT_EQ(listView.table.RowCount(), 0);
    EXPECT_TRUE(listView.reportView);
    EXPECT_TRUE(listView.sortingDisabled);
    EXPECT_EQ(signal.beeps, 0);
}

TEST_F(Form1Test, ListingTwiceGivesEachAdapterOnceAndSizesEveryColumn) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(2)};
    form.Form_Load();
    form.Dispatch(FormEvent::Command1Click);
    form.Dispatch(FormEvent::Command1Click);
    ASSERT_EQ(listView.table.RowCount(), 2);
    EXPECT_EQ(listView.table.RowText(2), u"2");
    EXPECT_EQ(listView.table.SubItemCount(1), 10);
    const std::vector<std::int32_t> positions = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::vector<std::int32_t> twice = positions;
    twice.insert(twice.end(), positions.begin(), positions.end());
    EXPECT_EQ(listView.autoSized, twice);
    EXPECT_EQ(command1.history, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(listView.table.ColumnCount(), 11);
}

TEST_F(Form1Test, TheListButtonIsDisabledWhileTheTableIsRebuilt) {
    form.Form_Load();
    bool enabledDuringClear = true;
    listView.onClearRows = [&] { enabledDuringClear = command1.enabled; };
    form.Command1_Click();
    EXPECT_FALSE(enabledDuringClear);
    EXPECT_TRUE(command1.enabled);
}

TEST_F(Form1Test, AServiceFailureStillSizesTheColumnsToTheirTitles) {
    source.failInstancesOf = true;
    form.Form_Load();
    form.Dispatch(FormEvent::Command1Click);
    EXPECT_EQ(listView.table.RowCount(), 0);
    EXPECT_EQ(listView.autoSized.size(), 11u);
    EXPECT_TRUE(command1.enabled);
    EXPECT_EQ(signal.beeps, 0);
}

TEST_F(Form1Test, AFailedListCommandBeepsAndLeavesItsButtonEnabled) {
    source.adapters = {TypicalAdapter(1)};
    form.Form_Load();
    listView.failAutoSize = true;
    EXPECT_THROW(form.Command1_Click(), Error);
    EXPECT_TRUE(command1.enabled);
    form.Dispatch(FormEvent::Command1Click);
    EXPECT_EQ(signal.beeps, 1);
    EXPECT_TRUE(command1.enabled);
}

TEST_F(Form1Test, AutoSizeSendsNothingForATableWithoutColumns) {
    Form1::AutoSizeColumns(listView);
    EXPECT_TRUE(listView.autoSized.empty());
}

TEST_F(Form1Test, AFailedLoadBeeps) {
    listView.failAddColumn = true;
    form.Dispatch(FormEvent::Load);
    EXPECT_EQ(signal.beeps, 1);
}

TEST_F(Form1Test, CopyPutsTheWholeTableOnTheClipboardWithTheChosenSeparator) {
    source.adapters = {TypicalAdapter(3)};
    form.Form_Load();
    form.Command1_Click();

    form.Dispatch(FormEvent::Command2Click);
    const std::u16string header =
        u"NIC\tMAC\tIP Addr\tDHCP Svr\tLeaseObt\tLeaseExp\tWINS\tHost\tDomain\tNIC Name\tDNS\r\n";
    EXPECT_EQ(clipboard.content, header +
                                     u"3\t00:1A:2B:3C:4D:5E\t192.168.0.17\t192.168.0.1\t22/01/2007\t23/01/2007\t"
                                     u"False\tworkstation\texample.org\tEthernet Adapter\t192.168.0.1,10.0.0.1");

    chkCommas.value = CheckBox::kChecked;
    form.Dispatch(FormEvent::Command2Click);
    EXPECT_EQ(clipboard.content,
              u"NIC,MAC,IP Addr,DHCP Svr,LeaseObt,LeaseExp,WINS,Host,Domain,NIC Name,DNS\r\n"
              u"3,00:1A:2B:3C:4D:5E,192.168.0.17,192.168.0.1,22/01/2007,23/01/2007,"
              u"False,workstation,example.org,Ethernet Adapter,\"192.168.0.1,10.0.0.1\"");

    chkCommas.value = CheckBox::kGrayed;
    form.Dispatch(FormEvent::Command2Click);
    EXPECT_EQ(clipboard.content->substr(0, header.size()), header);
    EXPECT_EQ(clipboard.replacements, 3);
    EXPECT_EQ(command2.history, (std::vector<bool>{false, true, false, true, false, true}));
    EXPECT_EQ(signal.beeps, 0);
}

TEST_F(Form1Test, AFailedCopyKeepsTheClipboardAndEnablesTheButtonAgain) {
    source.adapters = {TypicalAdapter(1)};
    form.Form_Load();
    form.Command1_Click();

    listView.failRowTextRead = true;
    form.Dispatch(FormEvent::Command2Click);
    EXPECT_EQ(clipboard.content, u"what the user had");
    EXPECT_TRUE(command2.enabled);
    EXPECT_EQ(signal.beeps, 1);

    listView.failRowTextRead = false;
    chkCommas.failRead = true;
    EXPECT_THROW(form.Command2_Click(), Error);
    EXPECT_EQ(clipboard.content, u"what the user had");
    EXPECT_TRUE(command2.enabled);

    chkCommas.failRead = false;
    clipboard.fail = true;
    form.Dispatch(FormEvent::Command2Click);
    EXPECT_EQ(clipboard.content, u"what the user had");
    EXPECT_TRUE(command2.enabled);
    EXPECT_EQ(signal.beeps, 2);
    EXPECT_EQ(listView.table.RowCount(), 1);
}

TEST_F(Form1Test, ResizeAtTheDesignSizeBordersTheTableBy120Twips) {
    form.Dispatch(FormEvent::Resize);
    for (const FakeButton* b : {&command1, &command2}) EXPECT_EQ(b->top, 5115.0f);
    EXPECT_EQ(chkCommas.top, 5115.0f);
    EXPECT_EQ(listView.width, 6765.0f);
    EXPECT_EQ(listView.height, 4875.0f);
    EXPECT_EQ(listView.top, 120.0f);
}

TEST_F(Form1Test, ResizeFollowsTheWindowAndMovesNothingSideways) {
    surface.scaleWidth = 8005;
    surface.scaleHeight = 6610;
    form.Form_Resize();
    EXPECT_EQ(listView.width, 7765.0f);
    EXPECT_EQ(listView.height, 5875.0f);
    EXPECT_EQ(command2.top, 6115.0f);
    EXPECT_EQ(command2.width, kCommand2Design.width);
    EXPECT_EQ(chkCommas.height, kChkCommasDesign.height);
}

TEST_F(Form1Test, ResizeRefusesNegativeSizesButStillMovesTheBottomRow) {
    form.Form_Resize();
    surface.scaleHeight = 700;
    form.Form_Resize();
    EXPECT_EQ(command1.top, 205.0f);
    EXPECT_EQ(listView.height, 4875.0f);

    surface.scaleWidth = 200;
    surface.scaleHeight = 5610;
    form.Form_Resize();
    EXPECT_EQ(listView.width, 6765.0f);
    EXPECT_EQ(listView.height, 4875.0f);

    surface.scaleWidth = 0;
    surface.scaleHeight = 0;
    form.Form_Resize();
    EXPECT_EQ(command1.top, -495.0f);
    EXPECT_EQ(command2.top, -495.0f);
    EXPECT_EQ(chkCommas.top, -495.0f);
    EXPECT_EQ(listView.width, 6765.0f);
    EXPECT_EQ(listView.height, 4875.0f);
}

// 1 px at 168 DPI is 8.5714283 twips: rounding the client height less 120 to
// single precision before the button's height goes would give -486.428589.
TEST_F(Form1Test, TheBottomRowsTopIsRoundedOnlyWhenStored) {
    surface.scaleHeight = PixelsToTwips(1.0f, 168.0f);
    form.Form_Resize();
    EXPECT_EQ(command1.top, -486.428558f);
    EXPECT_EQ(chkCommas.top, -486.428558f);
}

TEST_F(Form1Test, AFailedStatementLeavesTheOthersToUseWhatIsThere) {
    command1.failHeightRead = true;
    surface.scaleWidth = 9000;
    form.Dispatch(FormEvent::Resize);
    EXPECT_EQ(command1.top, kCommand1Design.top);
    EXPECT_EQ(command2.top, kCommand1Design.top);
    EXPECT_EQ(listView.width, 8760.0f);
    EXPECT_EQ(listView.height, kCommand1Design.top - 120 - 120);
    EXPECT_EQ(signal.beeps, 0);
}

TEST_F(Form1Test, ResizeArithmeticThatLeavesTheNumbersIsAFailure) {
    surface.scaleHeight = std::numeric_limits<float>::infinity();
    surface.scaleWidth = std::numeric_limits<float>::quiet_NaN();
    form.Form_Resize();
    EXPECT_EQ(command1.top, kCommand1Design.top);
    EXPECT_EQ(listView.width, kListView1Design.width);

    surface.scaleHeight = -std::numeric_limits<float>::max();
    surface.scaleWidth = 7005;
    command1.height = std::numeric_limits<float>::max();
    form.Form_Resize();
    EXPECT_EQ(command1.top, kCommand1Design.top);
    EXPECT_EQ(listView.width, 6765.0f);
}

}  // namespace
}  // namespace quorvane
