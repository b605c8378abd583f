// Values typed into the main window's fields and list cells, through the real widgets: a number is read
// whole or refused with one message, sizes stay within the largest sheet, every way of committing a
// value puts it into the document (and the file), and exactly the changes of a stored value mark the
// document modified.
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "editor/DocumentCommands.h"
#include "editor/MenuBar1.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Menu.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using namespace testing_support;

namespace {

const QString Quote = QString::fromUtf8("\u201c"), Unquote = QString::fromUtf8("\u201d");

class TypedValues : public ::testing::Test {
protected:
    void SetUp() override {
        FillModNames();
        w.Show();
        ui::Activate(w);
        Document();
    }

    // A new document: one object at (20, 30) mm, size 14, on 105 x 99 mm pages two across and three
    // down, start 100, quantity 12 (two sheets), saved as job.num.
    void Document() {
        NewDoc();
        AddObject({.name = "Serial", .x = 20, .y = 30, .font = "Liberation Sans", .size = 14});
        CurrentObject = 0;
        LoadSel(0);
        AdocWidth = 105, AdocHeight = 99, AstepR = 2, AstepD = 3, Astart = 100, Aqty = 12;
        AstepRV = 105, AstepDV = 99, AsigWidth = 210, AsigHeight = 297;
        SyncHead(false);
        PRNpreview = false;
        w.DrawPage(w.Canvas1().Graphics(), AdocWidth, AdocHeight);
        Filename = TempDir() + "/job.num";
        ASSERT_TRUE(SaveFile(false));
        Scripted().messages.clear();
    }

    // Moves the focus to a field that commits nothing.
    void Leave() { w.CurX().SetFocus(); }
    bool Choose(const char* item) { return w.MenuItemNamed(item).Trigger(); }
    // An Edit item as the user chooses it: the menu opens (and enables its items), then the item.
    void UseEdit(const char* item) {
        MenuItem& edit = *SharedMenuBar<MenuBar1>().FindItem("EditMenu");
        emit edit.Action()->menu()->aboutToShow();
        Choose(item);
    }
    // A press and release on the page where no object is.
    void ClickPage() { ui::Click(w.Canvas1().Widget(), {Int(mms(90)), Int(mms(90))}); }
    // The lines of the document's file.
    static QStringList Lines() { return QString::fromUtf8(ReadBytes(TempDir() + "/job.num")).split('\n'); }

    Window1& w = SharedInstance<Window1>();
    ListBox& objects = w.ListBox1();
    ListBox& parameters = w.ListBox2();
};

} // namespace

// A field or cell that takes a number reads the whole text as one (thousands separators included) or
// refuses it with one message naming it, keeping and showing the value in use; text rows take any text.
TEST_F(TypedValues, NumbersTypedAsTextAreReadWhollyOrRefused) {
    const QString quantity = Quote + "Quantity" + Unquote + " must be a whole number from 0 to 2147483647.";
    const QString start =
        Quote + "Start Number" + Unquote + " must be a whole number from 0 to 999999999999999.";
    const QString size = Quote + "Size" + Unquote + " must be a number of points above 0 and at most 14173.";
    const QString x = Quote + "Xlocation" + Unquote + " must be a number of millimetres from -5000 to 5000.";
    auto field = [this](EditField& f, const QString& text, bool withReturn) {
        return [this, &f, text, withReturn] {
            ui::Retype(f, text);
            if (withReturn)
                ui::Key(f.Widget(), Qt::Key_Return, "\r");
            Leave();
        };
    };
    auto cell = [this](int row, const QString& text) {
        return [this, row, text] { ui::TypeInto(objects, row, text); };
    };
    auto quantityNow = [this] { return std::pair(Str(Aqty), w.EdQty().Text()); };
    auto startNow = [this] { return std::pair(Str(Astart), w.EdStart().Text()); };
    auto objectNow = [this](int row) {
        return [this, row] { return std::pair(RecPos(0, row).StringValue(), objects.Cell(row, 2)); };
    };
    const struct {
        const char* name;
        std::function<void()> type;
        std::function<std::pair<QString, QString>()> now; // the value in use and what shows it
        std::pair<QString, QString> expected;
        QString message;
    } cases[] = {
        // 50,000 tickets on six-up sheets: 8333 whole sheets.
        {"quantity with thousands separators",
         field(w.EdQty(), "50,000", false),
         quantityNow,
         {"49998", "49998"},
         ""},
        {"quantity with a broken group",
         field(w.EdQty(), "50,00", true),
         quantityNow,
         {"12", "12"},
         quantity},
        {"quantity cleared", field(w.EdQty(), "", false), quantityNow, {"12", "12"}, quantity},
        {"start that is no number", field(w.EdStart(), "abc", true), startNow, {"100", "100"}, start},
        {"start with blanks around it", field(w.EdStart(), " 77 ", false), startNow, {"77", "77"}, ""},
        {"start with a fraction", field(w.EdStart(), "12.5", false), startNow, {"100", "100"}, start},
        {"size that is no number", cell(8, "big"), objectNow(8), {"14", "14.0"}, size},
        {"size of nothing", cell(8, "0"), objectNow(8), {"14", "14.0"}, size},
        {"position with more after it", cell(1, "12abc"), objectNow(1), {"20", "20.0"}, x},
        {"position with thousands separators", cell(1, "1,234.5"), objectNow(1), {"1234.5", "1234.5"}, ""},
        {"position further than any sheet", cell(1, "6000"), objectNow(1), {"20", "20.0"}, x},
        {"angle beyond any number",
         cell(10, "1e999"),
         objectNow(10),
         {"0", "0"},
         Quote + "Angle" + Unquote + " must be a number of degrees."},
        {"name takes any text", cell(0, "big 12"), objectNow(0), {"big 12", "big 12"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document();
        c.type();
        QApplication::processEvents();
        EXPECT_EQ(c.now(), c.expected);
        EXPECT_EQ(Scripted().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(DirtyFlag, c.message.isEmpty());
    }
    // The sheet count follows the quantity in use.
    Document();
    field(w.EdQty(), "50,000", true)();
    EXPECT_EQ(w.EdNup().Text(), "8333");
}

// Page and signature sizes above the largest sheet are refused like sizes not above 0, typed or read
// from a file; the page stays in view.
TEST_F(TypedValues, SizesAboveTheLargestSheetAreRefused) {
    const QString width =
        Quote + "Document Width" + Unquote + " must be a number of millimetres above 0 and at most 5000.";
    const struct {
        const char* name;
        int row;
        QString typed;
        QString message;
        double width, height;
        std::int32_t across;
    } cases[] = {
        {"a page 20 m wide", 1, "20000", width, 105, 99, 2},
        {"a page far wider than any", 1, "1e12", width, 105, 99, 2},
        {"a page as wide as the largest sheet", 1, "2500", "", 2500, 99, 2},
        {"a page half as wide again", 1, "2500.1",
         Quote + "Document Width" + Unquote +
             " 2500.1 would make the signature 5000.2 mm wide, over "
             "the largest sheet of 5000 mm.",
         105, 99, 2},
        {"too many pages across", 5, "48",
         Quote + "Step Across" + Unquote +
             " 48 would make the signature 5040 mm wide, over the largest "
             "sheet of 5000 mm.",
         105, 99, 2},
        {"a page too high for its pages down", 2, "2000",
         Quote + "Document Height" + Unquote +
             " 2000 would make the signature 6000 mm high, "
             "over the largest sheet of 5000 mm.",
         105, 99, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document();
        ui::TypeInto(parameters, c.row, c.typed);
        EXPECT_EQ(Scripted().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(std::tuple(AdocWidth, AdocHeight, AstepR), std::tuple(c.width, c.height, c.across));
        EXPECT_EQ(AsigWidth, c.across > 1 ? c.width * c.across : c.width);
        EXPECT_EQ(parameters.Cell(c.row, 2), Format(c.row == 1   ? AdocWidth
                                                    : c.row == 2 ? AdocHeight
                                                                 : AstepR,
                                                    NumPic));
        // The page still shows, fitted at a resolution that converts back to millimetres.
        ASSERT_NE(w.gx, nullptr);
        ASSERT_NE(w.gtx, nullptr);
        EXPECT_GE(PageResolution, 1);
        EXPECT_EQ(w.gtx->Width(), Int(mms(AdocWidth)));
    }

    // A document file with such a page is refused as one with no page size is, and the document stays.
    Document();
    QStringList lines = Lines();
    lines[1] = "20000";
    WriteBytes(TempDir() + "/huge.num", lines.join('\n').toUtf8());
    Scripted().fileAnswers = {TempDir() + "/huge.num"};
    Choose("FileOpen");
    ASSERT_EQ(Scripted().messages.size(), 1);
    EXPECT_TRUE(
        Scripted().messages[0].endsWith("its page or sheet size is over the largest sheet of 5000 mm."))
        << Scripted().messages[0].toStdString();
    EXPECT_EQ(std::pair(AdocWidth, TotalObjects), std::pair(105.0, 1));
}

// A page size being typed is applied, with the signature and the page view, however its edit ends, and
// the save writes it: Return, no Return at all, a click on the page, Tab, each followed by File > Save.
TEST_F(TypedValues, TypedPageSizeIsAppliedAndSavedHoweverItsEditEnds) {
    const struct {
        const char* name;
        std::function<void(QLineEdit*)> end;
    } cases[] = {
        {"Return", [](QLineEdit* editor) { ui::Key(editor, Qt::Key_Return, "\r"); }},
        {"nothing, the save commits it", [](QLineEdit*) {}},
        {"a click on the page", [this](QLineEdit*) { ClickPage(); }},
        {"Tab", [](QLineEdit* editor) { ui::Key(editor, Qt::Key_Tab, "\t"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document();
        QLineEdit* editor = ui::StartTyping(parameters, 1, "200");
        ASSERT_NE(editor, nullptr);
        c.end(editor);
        for (int save = 0; save < 2; ++save) { // the same command twice
            Choose("FileSave");
            EXPECT_TRUE(Scripted().messages.isEmpty());
            EXPECT_EQ(Lines()[1], "200");
            EXPECT_EQ(std::tuple(AdocWidth, AsigWidth, parameters.Cell(1, 2), parameters.Cell(3, 2)),
                      std::tuple(200.0, 400.0, QString("200.0"), QString("400.0")));
            EXPECT_EQ(w.gtx->Width(), Int(mms(200))) << "the page view follows the new page";
            EXPECT_FALSE(DirtyFlag);
        }
    }
}

// Any change of a stored value marks the document modified, by whatever path it came (the Edit menu
// included), so that File > New asks first; keys and clicks that change nothing do not.
TEST_F(TypedValues, ExactlyTheChangesOfStoredValuesMarkTheDocument) {
    auto sendKey = [](Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
        ui::Key(QApplication::focusWidget(), key, text, modifiers);
    };
    const struct {
        const char* name;
        std::function<void()> act;
        bool changed;
    } cases[] = {
        {"Edit > Paste into Xlocation, then a click on the page",
         [&] {
             QApplication::clipboard()->setText("62");
             ASSERT_NE(ui::StartTyping(objects, 1, ""), nullptr);
             UseEdit("EditPaste");
             ClickPage();
             EXPECT_EQ(RecPos(0, 1).DoubleValue(), 62.0) << "the object moved";
         },
         true},
        {"Edit > Clear of part of the start number, then leaving it",
         [&] {
             w.EdStart().SetFocus();
             static_cast<QLineEdit*>(w.EdStart().Widget())->setSelection(0, 1);
             UseEdit("EditClear");
             Leave();
             EXPECT_EQ(Astart, 0.0);
         },
         true},
        {"Edit > Cut of the quantity's first digit, then File > New straight away",
         [&] {
             w.EdQty().SetFocus();
             static_cast<QLineEdit*>(w.EdQty().Widget())->setSelection(0, 1);
             UseEdit("EditCut");
         },
         true},
        {"a double-click in Start Number, then typing over the word it selects",
         [&] {
             ui::DoubleClick(w.EdStart().Widget(), {10, 10});
             ui::Type(w.EdStart().Widget(), "5");
         },
         true},
        {"Ctrl alone in Start Number, then leaving it",
         [&] {
             w.EdStart().SetFocus();
             sendKey(Qt::Key_Control, Qt::ControlModifier);
             Leave();
         },
         false},
        {"an arrow and Ctrl+W in an open cell, then Return",
         [&] {
             ASSERT_NE(ui::StartTyping(objects, 0, ""), nullptr);
             sendKey(Qt::Key_Left, Qt::NoModifier);
             sendKey(Qt::Key_W, Qt::ControlModifier, "\x17");
             sendKey(Qt::Key_Return, Qt::NoModifier, "\r");
         },
         false},
        {"the page width typed as it already is",
         [&] {
             ui::TypeInto(parameters, 1, "105");
             ui::ClickCell(parameters, 2, 2);
         },
         false},
        {"the quantity typed as it already is, then Return",
         [&] {
             ui::Retype(w.EdQty(), "12");
             sendKey(Qt::Key_Return, Qt::NoModifier, "\r");
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document();
        ASSERT_FALSE(DirtyFlag);
        c.act();
        Scripted().saveChangesAnswers = {SaveChanges::Cancel};
        Choose("FileCreate");
        EXPECT_EQ(Scripted().saveChangesAsked.size(), c.changed ? 1 : 0);
        EXPECT_EQ(DirtyFlag, c.changed);
        EXPECT_EQ(TotalObjects, c.changed ? 1 : 0) << "Cancel keeps the document; unchanged, it goes";
        Scripted().saveChangesAsked.clear();
    }

    // A position placed finer than the list shows stays exactly where it is when the list is copied
    // back into the object, as a click on the page does: nothing changed, nothing to save.
    Document();
    Rxloc = 12.345;
    SyncSel(false, 0);
    ASSERT_TRUE(SaveFile(false));
    ASSERT_EQ(objects.Cell(1, 2), "12.3");
    ClickPage();
    EXPECT_EQ(RecPos(0, 1).DoubleValue(), 12.345);
    EXPECT_FALSE(DirtyFlag);
}

// After the method selector the Mod Type row is selected with no editor open: typing changes nothing,
// the method changes only by a choice.
TEST_F(TypedValues, TheMethodChangesOnlyByAChoice) {
    for (int pass = 0; pass < 2; ++pass) { // the same click twice
        SCOPED_TRACE(pass);
        OnNextModal([](Window& d) {
            ui::ClickCell(*d.ControlNamed<ListBox>("ListBox1"), 3, 1);
            ui::Click(*d.FindControl("OK1"), 20, 10);
        });
        ui::ClickCell(objects, 5, 2);
        EXPECT_EQ(objects.ActiveEditor(), nullptr);
        EXPECT_EQ(objects.ListIndex(), 5);
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : objects.Widget();
        ui::Type(focus, "x");
        ui::Key(focus, Qt::Key_Return, "\r");
        ClickPage();
        EXPECT_EQ(objects.Cell(5, 2) + "/" + RecPos(0, 5).StringValue(), "3, Mod 9/3, Mod 9");
    }
}

// One message per wrong start number: one read from a file is told by the print run, not each time its
// field loses the focus; one typed and followed straight by Print is told once and prints nothing.
TEST_F(TypedValues, OneMessagePerWrongStartNumber) {
    QStringList lines = Lines();
    lines[10] = "-5";
    WriteBytes(TempDir() + "/below.num", lines.join('\n').toUtf8());
    Scripted().fileAnswers = {TempDir() + "/below.num"};
    Choose("FileOpen");
    ASSERT_EQ(Astart, -5);
    for (int k = 0; k < 3; ++k) {
        w.EdStart().SetFocus();
        Leave();
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
    Scripted().printAnswers = {TempDir() + "/run.pdf"};
    Choose("PrintPrint");
    ASSERT_EQ(Scripted().messages.size(), 1);
    EXPECT_TRUE(Scripted().messages[0].startsWith("Nothing was printed."))
        << Scripted().messages[0].toStdString();

    for (const char* command : {"PrintPrint", "PrintPreview", "FileSave"}) {
        SCOPED_TRACE(command);
        Document();
        Scripted().printDialogCount = 0;
        ui::Retype(w.EdStart(), "-5");
        Choose(command);
        EXPECT_EQ(Scripted().messages, QStringList{Quote + "Start Number" + Unquote +
                                                   " must be a whole number from 0 to 999999999999999."});
        EXPECT_EQ(std::tuple(Astart, w.EdStart().Text(), Scripted().printDialogCount, PRNpreview),
                  std::tuple(100.0, QString("100"), 0, false));
        // The field shows the value in use; the command, chosen again, runs with it.
        Scripted().messages.clear();
        Scripted().printAnswers = {TempDir() + "/run.pdf"};
        Choose(command);
        EXPECT_TRUE(Scripted().messages.isEmpty());
        if (PRNpreview)
            ClickPage(); // the preview ends
    }
}
