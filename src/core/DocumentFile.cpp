// The document file: plain text, one value per line: the header, the backdrop settings, then eleven
// lines per number object.
#include "core/Module1.h"

#include "core/ObjectFields.h"
#include "core/QVutils.h"
#include "platform/FolderItem.h"
#include "platform/Numbers.h"
#include "platform/Streams.h"

#include <algorithm>

using namespace platform;

namespace Module1 {

namespace {
// One value per line: a line end inside a text would shift every later line of the file, so it is
// written as a blank.
QString oneLine(const QString& text) {
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace('\r', ' ');
    s.replace('\n', ' ');
    return s;
}
} // namespace

bool WriteDocument(FolderItem& f) {
    f.SetMacCreator("VEva");
    f.SetMacType("TEXT");
    auto out = f.CreateTextFile();
    if (!out)
        return false;
    out->WriteLine(oneLine(RecHd(0).StringValue()));
    for (int slot = 1; slot <= 9; ++slot)
        out->WriteLine(Str(RecHd(slot).DoubleValue()));
    out->WriteLine(Format(RecHd(10).DoubleValue(), "##############"));
    out->WriteLine(Str(RecHd(11).DoubleValue()));
    out->WriteLine(oneLine(EPSpathName));
    for (double v : {EPSmaskX, EPSmaskY, EPSmaskWidth, EPSmaskHeight, EPSscaleX, EPSscaleY,
                     QVutils::EPSBoundBoxX, QVutils::EPSBoundBoxY})
        out->WriteLine(Str(v));
    out->WriteLine(EPSuseForms ? "true" : "false");
    out->WriteLine(Str(TotalObjects));
    for (int i = 0; i < TotalObjects; ++i)
        for (int field = 0; field < PropertyFields; ++field)
            out->WriteLine(ObjectFields()[field].text ? oneLine(RecPos(i, field).StringValue())
                                                      : Str(RecPos(i, field).DoubleValue()));
    // A file that could not be written completely is not reported as saved; the old one stays.
    return out->Close();
}

bool ReadDocument(FolderItem& f) {
    auto in = f.OpenAsTextFile();
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
    HeaderMirrorFromRecord();

    // A count outside the table would write past its last row: only the rows the table has are read.
    TotalObjects = std::clamp(Int(Val(in->ReadLine())), 0, RecPos.Ubound(1) + 1);
    for (int i = 0; i < TotalObjects; ++i) {
        for (int field = 0; field < PropertyFields; ++field) {
            const QString line = in->ReadLine();
            if (ObjectFields()[field].text)
                RecPos(i, field) = line;
            else
                RecPos(i, field) = Val(line);
        }
        Rcolour = RecPos(i, ColourField).StringValue();
        NumColour(i);
    }
    in->Close();

    CurrentObject = TotalObjects > 0 ? 0 : -1;
    if (CurrentObject == 0) {
        MirrorFromRow(0);
        NumColour(0);
    }

    // The backdrop the document names replaces the one shown; a file that is gone leaves none.
    if (TheBackdrop.Bdx) {
        TheBackdrop.SetPicture(nullptr);
        EPSfilename.clear();
        QVutils::EPSBoundBoxX = 0;
        QVutils::EPSBoundBoxY = 0;
    }
    if (!EPSpathName.isEmpty()) {
        auto backdrop = GetFolderItem(EPSpathName);
        if (backdrop && backdrop->Exists()) {
            TheBackdrop.SetPicture(QVutils::OpenAsEPSpict(backdrop));
            EPSfilename = backdrop->Name();
            QVutils::EPSBoundBoxX = boundBoxX;
            QVutils::EPSBoundBoxY = boundBoxY;
        }
    }
    return true;
}

} // namespace Module1
