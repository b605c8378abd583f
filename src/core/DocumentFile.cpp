// The document file: plain text, one value per line: the header, the backdrop settings, then eleven
// lines per number object.
#include "core/Module1.h"

#include "core/ObjectFields.h"
#include "core/QVutils.h"
#include "core/ValueRules.h"
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

bool WriteDocument(FolderItem& f, QString* failure) {
    f.SetMacCreator("VEva");
    f.SetMacType("TEXT");
    auto out = f.CreateTextFile();
    if (!out) {
        if (failure)
            *failure = f.ErrorString();
        return false;
    }
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
    if (out->Close())
        return true;
    if (failure)
        *failure = out->ErrorString();
    return false;
}

namespace {
constexpr int HeaderLines = 23;

// A header line that must hold a number: the whole line is one ("210", "-3.5", "1.234568e+7").
bool HoldsNumber(const QString& line) {
    bool ok = false;
    line.trimmed().toDouble(&ok);
    return ok;
}

// Text as the program writes it: no NUL characters and nothing that is not UTF-8.
bool IsText(const QString& line) {
    return !line.contains(QChar(0)) && !line.contains(QChar::ReplacementCharacter);
}
// The file layer's reason ("The file does not exist.") as the clause that ends our own message.
QString asClause(QString sentence) {
    if (sentence.isEmpty())
        return QStringLiteral("it could not be read");
    if (sentence.endsWith(QLatin1Char('.')))
        sentence.chop(1);
    sentence[0] = sentence[0].toLower();
    return sentence;
}
} // namespace

bool ReadDocument(FolderItem& f, QString* failure) {
    auto fail = [failure](const QString& why) {
        if (failure)
            *failure = why;
        return false;
    };
    QString why;
    auto in = f.OpenAsTextFile(&why);
    if (!in)
        return fail(asClause(why));

    // The whole file is read and checked before anything of the document changes: a file that is
    // plainly not a document leaves the current one as it was.
    QStringList lines;
    for (int k = 0; k < HeaderLines; ++k)
        lines << in->ReadLine();
    // A count outside the table would write past its last row: only the rows the table has are read.
    const std::int32_t said = Int(Val(lines.last()));
    const int objects = std::clamp(said, 0, RecPos.Ubound(1) + 1);
    // Every object the file says it holds must be there in full: a table cut short (a copy broken off,
    // a disk that filled) would otherwise read as objects with empty fonts and colours.
    bool cutShort = false;
    for (std::int64_t k = 0; k < std::int64_t(std::max(said, 0)) * PropertyFields && !cutShort; ++k) {
        if (in->Eof())
            cutShort = true;
        else if (k < objects * PropertyFields)
            lines << in->ReadLine();
        else
            in->ReadLine();
    }
    in->Close();
    for (int k = 0; k < HeaderLines; ++k)
        if (!IsText(lines[k]) || (k >= 1 && k <= 11 && !HoldsNumber(lines[k])))
            return fail(QStringLiteral("it is not a Tallio document"));
    // A page or sheet with no size cannot be shown or printed, nor one that no printer takes.
    for (int k = 1; k <= 4; ++k) {
        if (!(Val(lines[k]) > 0))
            return fail(QStringLiteral("its page or sheet size is not above 0 mm"));
        if (Val(lines[k]) > LargestSheet)
            return fail("its page or sheet size is over the largest sheet of " + Str(LargestSheet) + " mm");
    }
    if (cutShort)
        return fail(QStringLiteral(
                        "it is damaged: it says it holds %1 number objects but ends before the last of them")
                        .arg(said));

    RecHd(0) = lines[0];
    for (int slot = 1; slot <= 11; ++slot)
        RecHd(slot) = Val(lines[slot]);
    EPSpathName = lines[12];
    int next = 13;
    for (double* v : {&EPSmaskX, &EPSmaskY, &EPSmaskWidth, &EPSmaskHeight, &EPSscaleX, &EPSscaleY})
        *v = Val(lines[next++]);
    const double boundBoxX = Val(lines[19]);
    const double boundBoxY = Val(lines[20]);
    EPSuseForms = lines[21].compare("true", Qt::CaseInsensitive) == 0;
    HeaderMirrorFromRecord();
    // A grid has at least one cell each way, as the parameter list makes sure for typed counts.
    AstepR = std::max(AstepR, 1);
    AstepD = std::max(AstepD, 1);
    RecHd(5) = double(AstepR);
    RecHd(7) = double(AstepD);

    TotalObjects = objects;
    next = HeaderLines;
    for (int i = 0; i < TotalObjects; ++i) {
        for (int field = 0; field < PropertyFields; ++field) {
            const QString& line = lines[next++];
            if (ObjectFields()[field].text)
                RecPos(i, field) = line;
            else
                RecPos(i, field) = Val(line);
        }
        Rcolour = RecPos(i, ColourField).StringValue();
        NumColour(i);
    }

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
