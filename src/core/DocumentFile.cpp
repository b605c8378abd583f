#include "core/Module1.h"

#include "core/FileTypes.h"
#include "core/QVutils.h"
#include "editor/Window1.h"
#include "platform/FolderItem.h"
#include "platform/Numbers.h"
#include "platform/Window.h"

#include <algorithm>

using namespace platform;

namespace Module1 {

namespace {
constexpr int MaxObjects = 129; // rows of the object table
const QString ProposedName = QStringLiteral("RUZuv.avo");

// One value per line: a line end inside a text would shift every later line of the file, so it is
// written as a blank.
QString oneLine(const QString& text) {
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace('\r', ' ');
    s.replace('\n', ' ');
    return s;
}

bool isTextField(int field) {
    return field == 0 || field == 3 || field == 5 || field == 6 || field == 7 || field == 9;
}
} // namespace

bool SaveFile(bool saveAs) {
    std::shared_ptr<FolderItem> f;
    if (!Filename.isEmpty() && !saveAs)
        f = GetFolderItem(Filename);
    else
        f = GetSaveFolderItem(FileTypes::pTallio, ProposedName);
    if (!f)
        return false;
    f->SetMacCreator("VEva");
    f->SetMacType("TEXT");
    Filename = f->AbsolutePath();
    AFileName = f->Name();
    SyncHead(false);
    SaveHead();

    auto out = f->CreateTextFile();
    if (!out)
        return false;
    out->WriteLine(oneLine(RecHd(0).StringValue()));
    for (int slot = 1; slot <= 9; ++slot)
        out->WriteLine(Str(RecHd(slot).DoubleValue()));
    out->WriteLine(Format(RecHd(10).DoubleValue(), "##############"));
    out->WriteLine(Str(RecHd(11).DoubleValue()));
    out->WriteLine(oneLine(EPSpathName));
    for (double v : {EPSmaskX, EPSmaskY, EPSmaskWidth, EPSmaskHeight, EPSscaleX, EPSscaleY, QVutils::EPSBoundBoxX,
                     QVutils::EPSBoundBoxY})
        out->WriteLine(Str(v));
    out->WriteLine(EPSuseForms ? "true" : "false");
    out->WriteLine(Str(TotalObjects));
    for (int i = 0; i < TotalObjects; ++i)
        for (int field = 0; field <= 10; ++field)
            out->WriteLine(isTextField(field) ? oneLine(RecPos(i, field).StringValue())
                                              : Str(RecPos(i, field).DoubleValue()));
    // A file that could not be written completely is not reported as saved; the old one stays.
    if (!out->Close())
        return false;
    DirtyFlag = false;
    return true;
}

bool OpenFile() {
    std::shared_ptr<FolderItem> f =
        Filename.isEmpty() ? GetOpenFolderItem(FileTypes::pTallio) : GetFolderItem(Filename);
    if (!f)
        return false;
    Filename = f->AbsolutePath();
    auto in = f->OpenAsTextFile();
    if (!in)
        return false;

    RecHd(0) = in->ReadLine();
    for (int slot = 1; slot <= 11; ++slot)
        RecHd(slot) = Val(in->ReadLine());
    EPSpathName = in->ReadLine();
    for (double* v : {&EPSmaskX, &EPSmaskY, &EPSmaskWidth, &EPSmaskHeight, &EPSscaleX, &EPSscaleY})
        *v = Val(in->ReadLine());
    const double boundBoxX = Val(in->ReadLine());
    const double boundBoxY = Val(in->ReadLine());
    EPSuseForms = in->ReadLine().compare("true", Qt::CaseInsensitive) == 0;
    LoadHead(true);

    // A count outside the table would write past its last row: only the rows the table has are read.
    TotalObjects = std::clamp(Int(Val(in->ReadLine())), 0, MaxObjects);
    for (int i = 0; i < TotalObjects; ++i) {
        for (int field = 0; field <= 10; ++field) {
            const QString line = in->ReadLine();
            if (isTextField(field))
                RecPos(i, field) = line;
            else
                RecPos(i, field) = Val(line);
        }
        Rcolour = RecPos(i, 9).StringValue();
        NumColour(i);
    }
    in->Close();

    CurrentObject = -1;
    if (TotalObjects > 0) {
        CurrentObject = 0;
        LoadSel(0);
    }

    Window1& w = SharedInstance<Window1>();
    if (w.Bdx) {
        w.Bdx = nullptr;
        EPSfilename.clear();
        QVutils::EPSBoundBoxX = 0;
        QVutils::EPSBoundBoxY = 0;
    }
    if (!EPSpathName.isEmpty()) {
        auto backdrop = GetFolderItem(EPSpathName);
        if (backdrop && backdrop->Exists()) {
            w.Bdx = QVutils::OpenAsEPSpict(backdrop);
            EPSfilename = backdrop->Name();
            QVutils::EPSBoundBoxX = boundBoxX;
            QVutils::EPSBoundBoxY = boundBoxY;
        }
    }
    return true;
}

} // namespace Module1
