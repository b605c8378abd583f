#include "dialogs/BDropProps.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/FileTypes.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/Window1.h"
#include "platform/Controls.h"
#include "platform/Menu.h"
#include "platform/Numbers.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;
using namespace Module1;
using testing_support::Scripted;
using testing_support::TempDir;

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
    void SetUp() override {
        InitGlobals();
        FileTypes::Init();
        NewDoc();
        QVutils::EPSjpgResolution = 200;
        QVutils::EPSbbWidth = QVutils::EPSbbHeight = 0;
        DirtyFlag = false;
        EPSdirty = false;
    }
    // Later tests find no page, as at start-up.
    void TearDown() override {
        AdocWidth = AdocHeight = 0;
        QVutils::EPSjpgResolution = 200;
    }

    // Shows the shared dialog modally and acts inside it; the dialog then closes as by its close box.
    static void Run(const std::function<void(BDropProps&)>& act) {
        OnNextModal([act](Window& w) {
            ui::Activate(w);
            act(dynamic_cast<BDropProps&>(w));
        });
        SharedInstance<BDropProps>().ShowModal();
    }

    // Types text into a field as the user would and moves the focus on, so the field loses it.
    static void Enter(BDropProps& d, const QString& field, const QString& text) {
        auto& f = *d.ControlNamed<EditField>(field);
        f.SetFocus();
        f.SelectAll();
        ui::Type(f.Widget(), text);
        d.FindControl("PushButton2")->SetFocus();
    }

    static void Click(BDropProps& d, const QString& name) { ui::Click(*d.FindControl(name), 5, 5); }

    // The texts of fields, separated by blanks.
    static QString Texts(const BDropProps& d, std::initializer_list<const char*> names) {
        QStringList texts;
        for (const char* name : names)
            texts << d.ControlNamed<EditField>(name)->Text();
        return texts.join(' ');
    }
    static QString Info(const BDropProps& d) { return d.ControlNamed<Label>("StaticText3")->Text(); }

    // "Add Image" answered with this path ("" cancels).
    static void AddImage(BDropProps& d, const QString& path) {
        Scripted().fileAnswers.push_back(path);
        d.BackdropOpen().Trigger();
    }

    Window1& main = SharedInstance<Window1>();
};

} // namespace

TEST(BDropPropsWindow, FrameAndMenuBar) {
    BDropProps w;
    EXPECT_EQ(w.Title(), "Back Drop Properties");
    EXPECT_EQ(QSize(w.Width(), w.Height()), QSize(478, 252));
    EXPECT_EQ(w.ControlCount(), 25);
    EXPECT_NE(w.ControlNamed<Canvas>("Canvas1")->Backdrop(), nullptr);

    // Its own bar: one menu of two items, spelled unlike the main bar's BackDrop menu.
    ASSERT_EQ(w.GetMenuBar()->Count(), 1);
    const MenuItem& menu = w.BackdropMenu();
    ASSERT_EQ(menu.Count(), 2);
    EXPECT_EQ(QStringList({menu.Text(), menu.Item(0)->Text(), menu.Item(1)->Text()}),
              QStringList({"Backdrop", "Add Image", "Delete"}));
    EXPECT_TRUE(menu.Item(0) == &w.BackdropOpen() && menu.Item(1) == &w.BackdropDelete());
}

TEST_F(BackdropDialog, OpensFromTheMainMenuWithTheDocumentsValues) {
    EPSuseForms = true;
    QString info, fields;
    bool modal = false, forms = false, enabled = true;
    OnNextModal([&](Window& w) {
        auto& d = dynamic_cast<BDropProps&>(w);
        modal = w.Widget()->isModal();
        info = Info(d);
        fields = Texts(d, {"EditField3", "EditField4", "EditField5", "EditField6", "EditField7", "EditField8",
                           "EditField9", "EditField10", "EditField1"});
        forms = d.ControlNamed<CheckBox>("CheckBox1")->Value();
        // The menu enables both items each time it opens, picture or none.
        for (auto picture : {std::shared_ptr<Picture>(), NewPicture(10, 10, 32)}) {
            main.Bdx = picture;
            d.BackdropOpen().SetEnabled(false);
            d.BackdropDelete().SetEnabled(false);
            emit d.BackdropMenu().Action()->menu()->aboutToShow();
            enabled = enabled && d.BackdropOpen().Enabled() && d.BackdropDelete().Enabled();
        }
        main.Bdx = nullptr;
    });
    main.Show();
    DirtyFlag = EPSdirty = false;
    EXPECT_FALSE(main.MenuItemNamed("BackDropOpen").Trigger());
    EXPECT_TRUE(modal && forms && enabled);
    EXPECT_EQ(info, "Filename: ");
    EXPECT_EQ(fields, "0 0 0 0 100 100 0 0 200");
    EXPECT_TRUE(DirtyFlag && EPSdirty);
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(BackdropDialog, AddImagePlacesThePictureOverThePage) {
    const QString path = SavePicture("scan.tif", "tiff", 1050, 990, 254);
    EPSmaskX = 7, EPSmaskWidth = 50, EPSscaleX = 250, QVutils::EPSBoundBoxY = 3;
    QString info, fields;
    Run([&](BDropProps& d) {
        DirtyFlag = false;
        AddImage(d, path);
        info = Info(d);
        fields = Texts(d, {"EditField3", "EditField4", "EditField5", "EditField6", "EditField7", "EditField8",
                           "EditField9", "EditField10"});
    });
    EXPECT_EQ(Scripted().openFilters, QStringList{FileTypes::ZOrerImages().QtFilter()});
    ASSERT_NE(main.Bdx, nullptr);
    EXPECT_EQ(EPSpathName, path);
    EXPECT_EQ(EPSfilename, "scan.tif");
    EXPECT_EQ(fields, "0 0 210 297 100 100 0 0");
    EXPECT_EQ(QList<double>({EPSmaskX, EPSmaskWidth, EPSmaskHeight, EPSscaleX, QVutils::EPSBoundBoxY}),
              QList<double>({0, 210, 297, 100, 0}));
    EXPECT_EQ(info, "Filename: scan.tif\nFileType = Image (Tiff/jpg/pct/pdf) - depth 32Bits - Resolution = "
                    "254dpi\nBounding Box: " +
                        Str(1050 / 254.0 * 25.4) + " X " + Str(990 / 254.0 * 25.4) +
                        "mms\nCurrent Location: X = 0  -  Y = 0\n");
    EXPECT_TRUE(DirtyFlag);
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(BackdropDialog, CancelledOrUnreadablePictureLeavesTheBackdropAsItWas) {
    const QString good = SavePicture("good.bmp", "bmp", 100, 100, 254);
    const QString broken = TempDir() + "/broken.tif";
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("II*\0 no picture") > 0);
    f.close();
    const std::pair<QString, QString> cases[] = {
        {"", ""}, // cancelled
        {broken, "Sorry - Can't load this picture - broken.tif "},
    };
    for (const auto& [answer, message] : cases) {
        SCOPED_TRACE(answer.toStdString());
        Scripted().messages.clear();
        std::shared_ptr<Picture> before;
        QString infoBefore, infoAfter;
        Run([&](BDropProps& d) {
            AddImage(d, good);
            before = main.Bdx;
            Enter(d, "EditField7", "150");
            Enter(d, "EditField9", "4");
            infoBefore = Info(d);
            DirtyFlag = false;
            AddImage(d, answer);
            infoAfter = Info(d);
        });
        EXPECT_EQ(main.Bdx, before);
        EXPECT_EQ(EPSfilename, "good.bmp");
        EXPECT_EQ(QList<double>({EPSscaleX, QVutils::EPSBoundBoxX, std::round(QVutils::EPSbbWidth)}),
                  QList<double>({150, 4, 10}));
        EXPECT_EQ(infoAfter, infoBefore);
        EXPECT_FALSE(DirtyFlag);
        EXPECT_EQ(Scripted().messages.size(), message.isEmpty() ? 0 : 1);
        EXPECT_EQ(Scripted().messages.join("").left(message.size()), message);
    }
}

TEST_F(BackdropDialog, FitAndCentreButtons) {
    struct Case {
        const char* name;
        const char* button;
        bool nonProportional;
        double bbWidth, bbHeight, scale, mask;
        QString shown; // the two fields the button writes, and the globals behind them
    } cases[] = {
        {"fit stretched each way", "PushButton2", true, 105, 99, 50, 0, "200 300"},
        {"fit with proportions kept", "PushButton2", false, 105, 99, 50, 0, "200 200"},
        {"fit with no picture keeps the scale", "PushButton2", false, 0, 0, 50, 0, "50 50"},
        {"centre on a narrower mask", "PushButton3", false, 100, 100, 150, 140, "5 5"},
        {"centre on a wider mask", "PushButton3", false, 100, 100, 100, 140, "-20 -20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QVutils::EPSbbWidth = c.bbWidth;
        QVutils::EPSbbHeight = c.bbHeight;
        EPSscaleX = EPSscaleY = c.scale;
        EPSmaskWidth = EPSmaskHeight = c.mask;
        const bool fit = QString(c.button) == "PushButton2";
        QString shown;
        Run([&](BDropProps& d) {
            if (c.nonProportional)
                Click(d, "CheckBox2");
            EXPECT_EQ(d.NonProp, c.nonProportional);
            Click(d, c.button);
            shown = fit ? Texts(d, {"EditField7", "EditField8"}) : Texts(d, {"EditField9", "EditField10"});
        });
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(fit ? Str(EPSscaleX) + " " + Str(EPSscaleY)
                      : Str(QVutils::EPSBoundBoxX) + " " + Str(QVutils::EPSBoundBoxY),
                  c.shown);
    }
}

TEST_F(BackdropDialog, FieldsStoreTheirValueWhenLeftAndCloseStoresTheOffsets) {
    const std::tuple<const char*, QString, const double*, double> cases[] = {
        {"EditField3", "12.5", &EPSmaskX, 12.5},
        {"EditField4", "-3", &EPSmaskY, -3},
        {"EditField5", "80mm", &EPSmaskWidth, 80},
        {"EditField6", "abc", &EPSmaskHeight, 0},
        {"EditField7", "250", &EPSscaleX, 250},
        {"EditField8", "1e2", &EPSscaleY, 100},
        {"EditField9", "7.25", &QVutils::EPSBoundBoxX, 7.25},
        {"EditField10", "-1", &QVutils::EPSBoundBoxY, -1},
    };
    Run([&](BDropProps& d) {
        for (const auto& [field, typed, global, stored] : cases) {
            Enter(d, field, typed);
            EXPECT_EQ(*global, stored) << field;
        }
        Click(d, "CheckBox1");
        EXPECT_TRUE(EPSuseForms);
        // Close stores the offsets even when their field never lost the focus.
        d.ControlNamed<EditField>("EditField9")->SetText("2");
        d.ControlNamed<EditField>("EditField10")->SetText("9");
        EPSdirty = false;
        d.ControlNamed<PushButton>("PushButton1")->Push();
        EXPECT_FALSE(d.IsOpen());
    });
    EXPECT_EQ(QVutils::EPSBoundBoxX, 2);
    EXPECT_EQ(QVutils::EPSBoundBoxY, 9);
    EXPECT_TRUE(EPSdirty);
    EXPECT_EQ(TakeUnattendedCloses(), 0);
}

TEST_F(BackdropDialog, DeleteKeepsMaskAndScale) {
    const QString path = SavePicture("art.bmp", "bmp", 254, 508, 254);
    Run([&](BDropProps& d) {
        AddImage(d, path);
        Enter(d, "EditField5", "100");
        Enter(d, "EditField8", "50");
        d.BackdropDelete().Trigger();
        EXPECT_EQ(Info(d), "Filename: ");
    });
    EXPECT_EQ(main.Bdx, nullptr);
    EXPECT_EQ(EPSpathName, "");
    EXPECT_EQ(QList<double>({QVutils::EPSbbWidth, QVutils::EPSbbHeight, EPSmaskWidth, EPSscaleY}),
              QList<double>({0, 0, 100, 50}));
}

TEST_F(BackdropDialog, ReRezReadsThePictureAgainOnlyForANewResolution) {
    const QString path = SavePicture("logo.jpg", "jpeg", 200, 100, 72);
    struct Case {
        const char* name;
        QString pathName, typed;
        int resolution, pictureDpi;
        bool placementReset;
    } cases[] = {
        // Passing through the field unchanged keeps the placement the user set.
        {"unchanged", path, "200", 200, 200, false},
        {"new resolution", path, "100", 100, 100, true},
        {"no resolution at all", path, "0", 0, 72, true},
        {"no backdrop path", "", "300", 300, 200, false},
        {"file gone", TempDir() + "/gone.jpg", "300", 300, 200, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](BDropProps& d) {
            AddImage(d, path);
            EPSpathName = c.pathName;
            Enter(d, "EditField3", "5");
            Enter(d, "EditField1", c.typed);
        });
        EXPECT_EQ(QVutils::EPSjpgResolution, c.resolution);
        ASSERT_NE(main.Bdx, nullptr);
        EXPECT_EQ(main.Bdx->HorizontalResolution(), c.pictureDpi);
        EXPECT_EQ(EPSmaskX, c.placementReset ? 0 : 5);
        QVutils::EPSjpgResolution = 200;
    }
    EXPECT_TRUE(Scripted().messages.isEmpty());
}

TEST_F(BackdropDialog, AbsurdPlacementsNeverCrashThePageView) {
    const QString path = SavePicture("page.bmp", "bmp", 210, 297, 254);
    const QString memory = "Error Creating Temp Offscreen Mask (1) - Memory short!";
    const std::tuple<const char*, QString, QString, bool> cases[] = {
        // field, text, message, whether the picture shows
        {"EditField7", "100", "", true},  {"EditField7", "0", "", false},
        {"EditField8", "-50", "", false}, {"EditField5", "1e9", memory, false},
        {"EditField6", "-10", "", false}, // a mask with no area shows nothing, and is no memory shortage
    };
    for (const auto& [field, typed, message, shows] : cases) {
        SCOPED_TRACE(typed.toStdString());
        Run([&](BDropProps& d) {
            AddImage(d, path);
            Enter(d, field, typed);
            Click(d, "PushButton1");
        });
        Scripted().messages.clear();
        main.UpdateViewer();
        EXPECT_EQ(Scripted().messages.join(""), message);
        ASSERT_NE(main.gx, nullptr);
        EXPECT_EQ(main.gx->Image().pixel(2, 2) != 0xffffffff, shows);
    }
}
