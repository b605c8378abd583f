#include "platform/PrinterSetup.h"

#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/UserQuestions.h"

#include <QPageLayout>
#include <QPrinter>
#include <optional>

namespace platform {

namespace {
const QString Header = QStringLiteral("tallio-page-setup/1");

struct UnitName {
    QPageLayout::Unit unit;
    const char* name;
};
constexpr UnitName Units[] = {{QPageLayout::Millimeter, "mm"}, {QPageLayout::Point, "pt"},
                              {QPageLayout::Inch, "in"},       {QPageLayout::Pica, "pica"},
                              {QPageLayout::Didot, "didot"},   {QPageLayout::Cicero, "cicero"}};

QString unitName(QPageLayout::Unit unit) {
    for (const auto& u : Units)
        if (u.unit == unit)
            return QLatin1String(u.name);
    return QStringLiteral("pt");
}

std::optional<QPageLayout::Unit> unitFromName(const QString& name) {
    for (const auto& u : Units)
        if (name == QLatin1String(u.name))
            return u.unit;
    return std::nullopt;
}

// Values may hold anything but the field separator and line ends.
QString escape(const QString& value) {
    QString out;
    for (QChar c : value) {
        if (c == QLatin1Char('%') || c == QLatin1Char(';') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r'))
            out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString unescape(const QString& value) {
    return QString::fromUtf8(QByteArray::fromPercentEncoding(value.toUtf8()));
}

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !(v >= 0) || v > 1e6)
        return std::nullopt;
    return v;
}

struct Settings {
    std::optional<QPageSize> page;
    std::optional<QPageLayout::Orientation> orientation;
    std::optional<QMarginsF> margins;
    QPageLayout::Unit marginUnit = QPageLayout::Point;
    std::optional<QString> printer;
    std::optional<QString> file;
};

std::optional<QPageSize> parsePage(const QString& value) {
    const QStringList words = value.split(QLatin1Char(' '));
    if (words.size() == 3 && words[0] == QLatin1String("custom")) {
        const QStringList sides = words[1].split(QLatin1Char('x'));
        const auto unit = unitFromName(words[2]);
        if (sides.size() != 2 || !unit)
            return std::nullopt;
        const auto w = number(sides[0]), h = number(sides[1]);
        if (!w || !h || *w <= 0 || *h <= 0)
            return std::nullopt;
        QPageSize size(QSizeF(*w, *h), QPageSize::Unit(*unit), QString(), QPageSize::ExactMatch);
        return size.isValid() ? std::optional(size) : std::nullopt;
    }
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id)
        if (id != int(QPageSize::Custom) && QPageSize::key(QPageSize::PageSizeId(id)) == value)
            return QPageSize(QPageSize::PageSizeId(id));
    return std::nullopt;
}

std::optional<Settings> parse(const QString& text) {
    const QStringList fields = text.split(QLatin1Char(';'));
    if (fields.size() < 2 || fields[0] != Header)
        return std::nullopt;
    Settings s;
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const qsizetype eq = fields[i].indexOf(QLatin1Char('='));
        if (eq <= 0)
            return std::nullopt;
        const QString key = fields[i].left(eq);
        const QString value = fields[i].mid(eq + 1);
        if (key == QLatin1String("paper")) {
            if (!(s.page = parsePage(value)))
                return std::nullopt;
        } else if (key == QLatin1String("orientation")) {
            if (value == QLatin1String("portrait"))
                s.orientation = QPageLayout::Portrait;
            else if (value == QLatin1String("landscape"))
                s.orientation = QPageLayout::Landscape;
            else
                return std::nullopt;
        } else if (key == QLatin1String("margins")) {
            const QStringList parts = value.split(QLatin1Char(' '));
            if (parts.size() != 5)
                return std::nullopt;
            double m[4];
            for (int k = 0; k < 4; ++k) {
                const auto v = number(parts[k]);
                if (!v)
                    return std::nullopt;
                m[k] = *v;
            }
            const auto unit = unitFromName(parts[4]);
            if (!unit)
                return std::nullopt;
            s.margins = QMarginsF(m[0], m[1], m[2], m[3]);
            s.marginUnit = *unit;
        } else if (key == QLatin1String("printer")) {
            s.printer = unescape(value);
        } else if (key == QLatin1String("file")) {
            s.file = unescape(value);
        } // other keys are left for later versions
    }
    return s;
}
} // namespace

PrinterSetup::PrinterSetup() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

PrinterSetup::~PrinterSetup() = default;

QString PrinterSetup::describe() const {
    const QPageLayout layout = printer_->pageLayout();
    const QPageSize size = layout.pageSize();
    QString paper;
    if (size.id() != QPageSize::Custom) {
        paper = QPageSize::key(size.id());
    } else {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        paper = QStringLiteral("custom %1x%2 mm").arg(Str(mm.width()), Str(mm.height()));
    }
    const QMarginsF m = layout.margins();
    const QStringList fields = {
        Header,
        QStringLiteral("paper=") + paper,
        QStringLiteral("orientation=") + (layout.orientation() == QPageLayout::Landscape
                                              ? QStringLiteral("landscape")
                                              : QStringLiteral("portrait")),
        QStringLiteral("margins=%1 %2 %3 %4 %5")
            .arg(Str(m.left()), Str(m.top()), Str(m.right()), Str(m.bottom()), unitName(layout.units())),
        QStringLiteral("printer=") + escape(printer_->printerName()),
        QStringLiteral("file=") + escape(printer_->outputFileName()),
    };
    return fields.join(QLatin1Char(';'));
}

QString PrinterSetup::SetupString() const {
    const QString now = describe();
    return !setText_.isEmpty() && now == setDescription_ ? setText_ : now;
}

void PrinterSetup::SetSetupString(const QString& text) {
    const auto s = parse(text);
    if (!s)
        return;
    if (s->printer)
        printer_->setPrinterName(*s->printer);
    if (s->file)
        printer_->setOutputFileName(*s->file);
    QPageLayout layout = printer_->pageLayout();
    if (s->page)
        layout.setPageSize(*s->page);
    if (s->orientation)
        layout.setOrientation(*s->orientation);
    if (s->margins) {
        layout.setUnits(s->marginUnit);
        layout.setMargins(*s->margins);
    }
    // A layout the printer refuses (margins inside its minimum) keeps at least the paper and orientation.
    if (!printer_->setPageLayout(layout)) {
        printer_->setPageSize(layout.pageSize());
        printer_->setPageOrientation(layout.orientation());
    }
    setText_ = text;
    setDescription_ = describe();
}

namespace {
// Runs a printer dialog, then puts the paper the user chose (or left as shown) on the printer: the
// dialog may have put another one there.
template <class Dialog> bool KeepingChosenPaper(QPrinter& printer, Dialog dialog) {
    QPageSize paper = printer.pageLayout().pageSize();
    if (!dialog(paper))
        return false;
    if (paper.isValid() && !paper.isEquivalentTo(printer.pageLayout().pageSize()))
        printer.setPageSize(paper);
    return true;
}
} // namespace

bool PrinterSetup::PageSetupDialog() {
    return KeepingChosenPaper(*printer_,
                              [this](QPageSize& paper) { return Questions().PageSetup(*printer_, paper); });
}

int PrinterSetup::HorizontalResolution() const {
    return printer_->resolution();
}
int PrinterSetup::VerticalResolution() const {
    return printer_->resolution();
}

int PrinterSetup::Width() const {
    return qRound(printer_->paperRect(QPrinter::DevicePixel).width());
}
int PrinterSetup::Height() const {
    return qRound(printer_->paperRect(QPrinter::DevicePixel).height());
}

int PrinterSetup::PageLeft() const {
    return -qRound(printer_->pageRect(QPrinter::DevicePixel).left());
}
int PrinterSetup::PageTop() const {
    return -qRound(printer_->pageRect(QPrinter::DevicePixel).top());
}

std::unique_ptr<Graphics> OpenPrinterDialog(PrinterSetup& ps) {
    return ShowPrintDialog(ps) ? StartPrinting(ps) : nullptr;
}

bool ShowPrintDialog(PrinterSetup& ps) {
    return KeepingChosenPaper(
        ps.Printer(), [&ps](QPageSize& paper) { return Questions().PrintDialog(ps.Printer(), paper); });
}

std::unique_ptr<Graphics> StartPrinting(PrinterSetup& ps) {
    auto g = std::make_unique<Graphics>(ps.Printer(), &ps.Printer());
    if (!g->IsActive())
        return nullptr;
    return g;
}

} // namespace platform
