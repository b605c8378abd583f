// Development tool: shows the main window with the demo ticket document (backdrop and numbers) as
// the program shows it at start, and saves a picture of the window.
// Usage: demo_document output.png [--fitted] [--grid] [--save document]
//   --fitted: as after the Fit button, not in fit mode
//   --grid: 125 numbers in a grid over the page and one in each corner instead of the tickets' 8
//   --save: also writes the document, with its backdrop beside it (document.png), for the program to open
#include "DemoDocument.h"

#include "core/FileTypes.h"
#include "core/Module1.h"
#include "editor/RecordTransfer.h"
#include "editor/Window1.h"
#include "platform/FolderItem.h"
#include "platform/Picture.h"
#include "platform/UserQuestions.h"
#include "platform/Window.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: demo_document output.png [--fitted]\n");
        return 2;
    }
    auto questions = std::make_unique<platform::ScriptedQuestions>();
    auto* asked = questions.get();
    platform::SetQuestions(std::move(questions));
    FileTypes::Init();

    demo::NewA4Document();
    if (args.contains("--grid")) {
        demo::AddGridNumbers(125);
        demo::AddCornerNumbers();
    } else
        demo::AddTicketNumbers();
    Window1& w = platform::SharedInstance<Window1>();
    demo::UseBackdrop(w, demo::MakeTicketBackdrop());
    Module1::SyncHead(false);
    Module1::LoadSel(Module1::CurrentObject);
    w.CheckNup();
    w.Show();
    if (args.contains("--fitted")) {
        Module1::FitToPage = false;
        w.FitToPageF();
    }
    QApplication::processEvents();

    if (const qsizetype at = args.indexOf("--save"); at > 0 && at + 1 < args.size()) {
        const QString document = args[at + 1], backdrop = document + ".png";
        Module1::EPSpathName = backdrop;
        platform::FolderItem file(document);
        Module1::SaveHead(); // as saving does: the header with the object count
        if (!Module1::TheBackdrop.Bdx->Image().save(backdrop) || !Module1::WriteDocument(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(document));
            return 1;
        }
    }
    if (!w.Widget()->grab().save(args[1])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    for (const QString& m : asked->messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return 0;
}
