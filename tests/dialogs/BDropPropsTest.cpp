#include "dialogs/BDropProps.h"
#include "TestSupport.h"
#include "UiDriver.h"
#include "core/Module1.h"
#include "core/QVutils.h"
#include "editor/DocumentCommands.h"
#include "platform/Controls.h"
#include "platform/Menu.h"
#include "platform/Numbers.h"

#include <QImage>
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
    void SetUp() override { NewDoc(); }

    // Shows the dialog modally and acts inside it; it then closes as by its close box.
    static void Run(const std::function<void(BDropProps&)>& act) {
        OnNextModal([act](Window& w) {
            ui::Activate(w);
            act(dynamic_cast<BDropProps&>(w));
        });
        SharedInstance<BDropProps>().ShowModal();
    }
    // Types into a field and moves the focus on, so the field stores its value.
    static void Enter(BDropProps& d, const QString& field, const QString& text) {
        auto& f = *d.ControlNamed<EditField>(field);
        f.SetFocus();
        f.SelectAll();
        ui::Type(f.Widget(), text);
        d.PushButton2().SetFocus();
    }
    static void Click(BDropProps& d, const QString& name) { ui::Click(*d.FindControl(name), 5, 5); }
    static QString Texts(const BDropProps& d, std::initializer_list<const char*> names) {
        QStringList texts;
        for (const char* name : names)
            texts << d.ControlNamed<EditField>(name)->Text();
        return texts.join(' ');
    }
    static QString Info(const BDropProps& d) { return d.StaticText3().Text(); }
    // "Add Image" answered with this path ("" cancels).
    static void AddImage(BDropProps& d, const QString& path) {
        Scripted().fileAnswers.push_back(path);
        d.BackdropOpen().Trigger();
    }
};

} // namespace

TEST_F(BackdropDialog, AddImageResetsMaskAndScaleAndDeleteKeepsThem) {
    const QString path = SavePicture("scan.tif", "tiff", 1050, 990, 254);
    EPSmaskX = 7, EPSmaskWidth = 50, EPSscaleX = 250, QVutils::EPSBoundBoxY = 3;
    Run([&](BDropProps& d) {
        AddImage(d, path);
        ASSERT_NE(Module1::TheBackdrop.Bdx, nullptr);
        EXPECT_EQ(EPSfilename, "scan.tif");
        EXPECT_EQ(QList<double>({EPSmaskX, EPSmaskWidth, EPSmaskHeight, EPSscaleX, QVutils::EPSBoundBoxY}),
                  QList<double>({0, 210, 297, 100, 0}));
        EXPECT_TRUE(Info(d).contains("Resolution = 254dpi\nBounding Box: " + Str(1050 / 254.0 * 25.4) +
                                     " X " + Str(990 / 254.0 * 25.4) + "mms"))
            << Info(d).toStdString();
        EXPECT_TRUE(DirtyFlag);
        Enter(d, "EditField5", "100");
        Enter(d, "EditField6", "80");
        Enter(d, "EditField8", "50");
        d.BackdropDelete().Trigger();
        EXPECT_EQ(Info(d), "Filename: ");
    });
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
        Run([&](BDropProps& d) {
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
        Run([&](BDropProps& d) {
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

TEST_F(BackdropDialog, ReRezReadsThePictureAgainOnlyWhenTheResolutionChanges) {
    const QString path = SavePicture("scan.jpg", "jpeg", 300, 300, 72);
    Run([&](BDropProps& d) {
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
}
