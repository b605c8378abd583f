#include "dialogs/BDropProps.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/FileTypes.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/DocumentCommands.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Menu.h"
#include "platform/Numbers.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;
using testing_support::TempDir;
using ui::AddImage;
using ui::Enter;

namespace {

// A red picture file of width x height pixels that states its resolution.
QString SavePicture(const QString& name, const char* format, int width, int height, int dpi) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    const QString path = TempDir() + "/" + name;
    EXPECT_TRUE(image.save(path, format));
    return path;
}

class BackdropDialog : public ::testing::Test {
protected:
    void SetUp() override { NewDoc(); }

    static void Click(BDropProps& d, const QString& name) { ui::Click(*d.FindControl(name), 5, 5); }
    static QString Texts(const BDropProps& d, std::initializer_list<const char*> names) {
        QStringList texts;
        for (const char* name : names)
            texts << d.ControlNamed<EditField>(name)->Text();
        return texts.join(' ');
    }
    static QString Info(const BDropProps& d) { return d.StaticText3().Text(); }
};

} // namespace

TEST_F(BackdropDialog, AddImageResetsMaskAndScaleAndDeleteKeepsThem) {
    const QString path = SavePicture("scan.tif", "tiff", 1050, 990, 254);
    EPSmaskX = 7, EPSmaskWidth = 50, EPSscaleX = 250, QVutils::EPSBoundBoxY = 3;
    ui::InBackdropDialog([&](BDropProps& d) {
        AddImage(d, path);
        ASSERT_NE(Module1::TheBackdrop.Bdx, nullptr);
        EXPECT_EQ(EPSfilename, "scan.tif");
        EXPECT_EQ(QList<double>({EPSmaskX, EPSmaskWidth, EPSmaskHeight, EPSscaleX, QVutils::EPSBoundBoxY}),
                  QList<double>({0, 210, 297, 100, 0}));
        EXPECT_TRUE(Info(d).startsWith("Filename: scan.tif\nFileType = Image (Tiff/jpg/pct/pdf) - depth "));
        EXPECT_TRUE(Info(d).endsWith("Resolution = 254dpi\nBounding Box: " + Str(1050 / 254.0 * 25.4) +
                                     " X " + Str(990 / 254.0 * 25.4) +
                                     "mms\nCurrent Location: X = 0  -  Y = 0\n"))
            << Info(d).toStdString();
        EXPECT_TRUE(DirtyFlag);
        Enter(d, "EditField5", "100");
        Enter(d, "EditField6", "80");
        Enter(d, "EditField8", "50");
        d.BackdropDelete().Trigger();
        EXPECT_EQ(Info(d), "Filename: ");
    });
    EXPECT_EQ(Scripted().openFilters, QStringList{FileTypes::ZOrerImages().QtFilter()});
    EXPECT_EQ(Module1::TheBackdrop.Bdx, nullptr);
    EXPECT_EQ(
        QList<double>({QVutils::EPSbbWidth, QVutils::EPSbbHeight, EPSmaskWidth, EPSmaskHeight, EPSscaleY}),
        QList<double>({0, 0, 100, 80, 50}));
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(BackdropDialog, CancelledOrUnreadablePictureKeepsTheOldBackdrop) {
    const QString good = SavePicture("good.bmp", "bmp", 100, 100, 254);
    const QString broken = TempDir() + "/broken.tif";
    testing_support::WriteBytes(broken, "II*"); // a TIFF's first bytes and nothing more
    for (const auto& [answer, message] :
         {std::pair<QString, QString>{"", ""},
          {broken, "Sorry - Can't load this picture - \u201cbroken.tif\u201d: "}}) {
        SCOPED_TRACE(answer.toStdString());
        Scripted().messages.clear();
        std::shared_ptr<Picture> before;
        QString infoBefore, infoAfter;
        ui::InBackdropDialog([&](BDropProps& d) {
            AddImage(d, good);
            before = Module1::TheBackdrop.Bdx;
            Enter(d, "EditField7", "150");
            infoBefore = Info(d);
            DirtyFlag = false;
            AddImage(d, answer);
            infoAfter = Info(d);
        });
        EXPECT_EQ(Module1::TheBackdrop.Bdx, before);
        EXPECT_EQ(QList<double>({EPSscaleX, std::round(QVutils::EPSbbWidth)}), QList<double>({150, 10}));
        EXPECT_EQ(infoAfter, infoBefore);
        EXPECT_FALSE(DirtyFlag);
        EXPECT_EQ(Scripted().messages.join("").left(message.size()), message);
        EXPECT_EQ(Scripted().messages.size(), message.isEmpty() ? 0 : 1);
    }
}

TEST_F(BackdropDialog, FitAndCentreButtons) {
    struct Case {
        const char* name;
        bool fit, nonProportional;
        double bbWidth, bbHeight, scale, mask;
        QString shown; // the scales fit writes or the offsets centre writes, in fields and globals alike
    } cases[] = {
        {"fit stretched each way", true, true, 105, 99, 50, 0, "200 300"},
        {"fit with proportions kept", true, false, 105, 99, 50, 0, "200 200"},
        {"fit with no picture keeps the scale", true, false, 0, 0, 50, 0, "50 50"},
        {"centre on a narrower mask", false, false, 100, 100, 150, 140, "5 5"},
        {"centre on a wider mask", false, false, 100, 100, 100, 140, "-20 -20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QVutils::EPSbbWidth = c.bbWidth;
        QVutils::EPSbbHeight = c.bbHeight;
        EPSscaleX = EPSscaleY = c.scale;
        EPSmaskWidth = EPSmaskHeight = c.mask;
        QString shown;
        ui::InBackdropDialog([&](BDropProps& d) {
            if (c.nonProportional)
                Click(d, "CheckBox2");
            Click(d, c.fit ? "PushButton2" : "PushButton3");
            shown = c.fit ? Texts(d, {"EditField7", "EditField8"}) : Texts(d, {"EditField9", "EditField10"});
        });
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(c.fit ? Str(EPSscaleX) + " " + Str(EPSscaleY)
                        : Str(QVutils::EPSBoundBoxX) + " " + Str(QVutils::EPSBoundBoxY),
                  c.shown);
    }
}

// "ReRez JPGs to" gives 72-dpi pictures a resolution; only a new value reads the picture again, and
// only when its file is still there.
TEST_F(BackdropDialog, ReRezReadsThePictureAgainOnlyWhenTheResolutionChanges) {
    const QString path = SavePicture("scan.jpg", "jpeg", 300, 300, 72);
    ui::InBackdropDialog([&](BDropProps& d) {
        AddImage(d, path);
        ASSERT_NE(Module1::TheBackdrop.Bdx, nullptr);
        EXPECT_EQ(Module1::TheBackdrop.Bdx->HorizontalResolution(),
                  200); // 72 dpi pictures take the ReRez resolution
        Enter(d, "EditField3", "5");
        Enter(d, "EditField1", "200"); // passing through the field keeps the placement just typed
        EXPECT_EQ(EPSmaskX, 5);
        Enter(d, "EditField1", "300");
        EXPECT_EQ(QVutils::EPSjpgResolution, 300);
        EXPECT_EQ(Module1::TheBackdrop.Bdx->HorizontalResolution(), 300);
    });
    const struct {
        const char* name;
        QString pathName, typed;
        int resolution, pictureDpi;
    } cases[] = {
        {"no backdrop path", "", "300", 300, 200},
        {"file gone", TempDir() + "/gone.jpg", "300", 300, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QVutils::EPSjpgResolution = 200;
        ui::InBackdropDialog([&](BDropProps& d) {
            AddImage(d, path);
            EPSpathName = c.pathName;
            Enter(d, "EditField3", "5");
            Enter(d, "EditField1", c.typed);
        });
        EXPECT_EQ(QVutils::EPSjpgResolution, c.resolution);
        ASSERT_NE(Module1::TheBackdrop.Bdx, nullptr);
        EXPECT_EQ(Module1::TheBackdrop.Bdx->HorizontalResolution(), c.pictureDpi);
        EXPECT_EQ(EPSmaskX, 5);
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

// Back Drop > Open and the main window's BackDrop button open the dialog modally on the document's
// backdrop settings; its menu enables both its commands each time it opens, picture or none.
TEST_F(BackdropDialog, OpensFromTheMainWindowWithTheDocumentsValues) {
    Window1& main = SharedInstance<Window1>();
    main.Show();
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"menu", [&] { EXPECT_FALSE(main.MenuItemNamed("BackDropOpen").Trigger()); }},
        {"button", [&] { main.PushButton1().Push(); }},
    };
    for (const auto& [name, open] : ways) {
        SCOPED_TRACE(name);
        EPSuseForms = true, EPSmaskX = 3, EPSmaskY = 4, EPSmaskWidth = 150, EPSmaskHeight = 120;
        EPSscaleX = 90, EPSscaleY = 80, QVutils::EPSBoundBoxX = -2.5, QVutils::EPSBoundBoxY = 6;
        QVutils::EPSjpgResolution = 250;
        bool modal = false, forms = false, enabled = true;
        QString info, fields;
        OnNextModal([&](Window& w) {
            auto& d = dynamic_cast<BDropProps&>(w);
            modal = w.Widget()->isModal();
            info = Info(d);
            fields = Texts(d, {"EditField3", "EditField4", "EditField5", "EditField6", "EditField7",
                               "EditField8", "EditField9", "EditField10", "EditField1"});
            forms = d.CheckBox1().Value();
            QMenu* menu = d.MenuItemNamed("BackdropMenu").Action()->menu();
            for (auto picture : {std::shared_ptr<Picture>(), NewPicture(10, 10, 32)}) {
                TheBackdrop.Bdx = picture;
                d.BackdropOpen().SetEnabled(false);
                d.BackdropDelete().SetEnabled(false);
                emit menu->aboutToShow();
                enabled = enabled && d.BackdropOpen().Enabled() && d.BackdropDelete().Enabled();
            }
            TheBackdrop.Bdx = nullptr;
            w.Close();
        });
        open();
        EXPECT_EQ(TakeUnattendedCloses(), 0);
        EXPECT_TRUE(modal && forms && enabled);
        EXPECT_EQ(info, "Filename: ");
        EXPECT_EQ(fields, "3 4 150 120 90 80 -2.5 6 250");
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

// A mask or scale field stores its value when the user leaves it, an offset field both offsets; the
// forms box stores its state at once, and Close stores the offsets even from a field never left.
TEST_F(BackdropDialog, FieldsStoreTheirValueWhenLeftAndCloseStoresTheOffsets) {
    const std::tuple<const char*, QString, const double*, double> cases[] = {
        {"EditField3", "12.5", &EPSmaskX, 12.5},
        {"EditField4", "-3", &EPSmaskY, -3},
        {"EditField5", "80", &EPSmaskWidth, 80},
        {"EditField6", "40", &EPSmaskHeight, 40},
        {"EditField7", "250", &EPSscaleX, 250},
        {"EditField8", "1.5e2", &EPSscaleY, 150},
        {"EditField9", "7.25", &QVutils::EPSBoundBoxX, 7.25},
        {"EditField10", "-1", &QVutils::EPSBoundBoxY, -1},
    };
    EPSuseForms = false;
    ui::InBackdropDialog([&](BDropProps& d) {
        for (const auto& [field, typed, global, stored] : cases) {
            DirtyFlag = false;
            Enter(d, field, typed);
            EXPECT_EQ(*global, stored) << field;
            EXPECT_TRUE(DirtyFlag) << field;
        }
        Click(d, "CheckBox1");
        EXPECT_TRUE(EPSuseForms);
        Click(d, "CheckBox1");
        EXPECT_FALSE(EPSuseForms);
        Enter(d, "EditField9", "2");
        ui::TypeOver(*d.ControlNamed<EditField>("EditField10"), "9"); // typed into, never left
        EPSdirty = false;
        Click(d, "PushButton1");
        EXPECT_FALSE(d.IsOpen());
    });
    EXPECT_EQ(TakeUnattendedCloses(), 0);
    EXPECT_EQ(QVutils::EPSBoundBoxX, 2);
    EXPECT_EQ(QVutils::EPSBoundBoxY, 9);
    EXPECT_TRUE(EPSdirty);
}

// "Add Image" starts in the folder of the current picture (the one just added, or the one the document
// names), and in the user's documents folder when there is none or its folder is gone.
TEST_F(BackdropDialog, AddImageStartsBesideThePictureShown) {
    const QString documents = testing_support::UseDocumentsFolder(), scans = TempDir() + "/scans";
    QDir().mkpath(scans);
    const QString added = SavePicture("added.bmp", "bmp", 10, 10, 72);
    EPSpathName = TempDir() + "/gone/scan.tif";
    ui::InBackdropDialog([&](BDropProps& d) {
        AddImage(d, "");
        AddImage(d, added);
        AddImage(d, "");
        EPSpathName = scans + "/kept.tif"; // as a document opened with a picture that has since gone
        AddImage(d, "");
        d.BackdropDelete().Trigger();
        AddImage(d, "");
    });
    EXPECT_EQ(Scripted().openFolders, QStringList({documents, documents, TempDir(), scans, documents}));
}

// A field that takes a number refuses text that is not wholly one it takes (a mask or scale of no size
// lets nothing of the picture through), with one message naming it, and shows the value in use again;
// Close with such a value stays open. Looking at the dialog changes nothing of the document.
TEST_F(BackdropDialog, NumberFieldsRefuseWhatTheyCannotTake) {
    const QString q = QString::fromUtf8("\u201c"), p = QString::fromUtf8("\u201d");
    const struct {
        const char* field;
        QString typed;
        double* global;
        double kept;
        QString message;
    } cases[] = {
        {"EditField7", "abc", &EPSscaleX, 100,
         q + "X%" + p + " must be a number above 0 and at most 100000."},
        {"EditField8", "0", &EPSscaleY, 100, q + "Y%" + p + " must be a number above 0 and at most 100000."},
        {"EditField5", "-10", &EPSmaskWidth, 210,
         q + "W" + p + " must be a number of millimetres above 0 and at most 5000."},
        {"EditField3", "5mm", &EPSmaskX, 0,
         q + "X" + p + " must be a number of millimetres from -5000 to 5000."},
        {"EditField9", "", &QVutils::EPSBoundBoxX, 0, q + "X+" + p + " must be a number of millimetres."},
        {"EditField4", " 12.5 ", &EPSmaskY, 12.5, ""},
        {"EditField10", "-1,250.5", &QVutils::EPSBoundBoxY, -1250.5, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        NewDoc();
        EPSmaskWidth = 210;
        Scripted().messages.clear();
        QString shown;
        bool openAfterClose = false;
        ui::InBackdropDialog([&](BDropProps& d) {
            EXPECT_FALSE(DirtyFlag) << "opening the dialog changes nothing";
            auto& f = *d.ControlNamed<EditField>(c.field);
            ui::Retype(f, c.typed);
            Click(d, "PushButton1"); // Close
            openAfterClose = d.IsOpen();
            shown = f.Text();
            if (d.IsOpen())
                Click(d, "PushButton1");
        });
        EXPECT_EQ(*c.global, c.kept);
        EXPECT_EQ(Scripted().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(openAfterClose, !c.message.isEmpty()) << "a refused value keeps the dialog open";
        if (!c.message.isEmpty()) {
            EXPECT_EQ(shown, Str(c.kept));
        }
        EXPECT_EQ(DirtyFlag, c.message.isEmpty());
    }

    // "ReRez JPGs to" takes a whole number of dots per inch from 1.
    NewDoc();
    Scripted().messages.clear();
    ui::InBackdropDialog([&](BDropProps& d) { Enter(d, "EditField1", "0"); });
    EXPECT_EQ(QVutils::EPSjpgResolution, 200);
    EXPECT_EQ(Scripted().messages, QStringList{q + "ReRez JPGs to" + p +
                                               " must be a whole number of dots per inch from 1 to 10000."});
}
