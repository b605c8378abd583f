// The printer setup string: PrinterSetup::SetSetupString on any text. A string is either taken whole
// (and handed back exactly) or changes nothing, and what a setup hands back sets up another the same.
#include "FuzzSupport.h"
#include "platform/PrinterSetup.h"

namespace {

void Run(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    platform::PrinterSetup setup;
    const QString before = setup.SetupString();
    setup.SetSetupString(text);
    const QString after = setup.SetupString();
    if (after != text && after != before)
        fuzz::Broken("a setup string is taken whole or changes nothing", text);
    if (setup.Width() < 1 || setup.Height() < 1 || setup.HorizontalResolution() < 1 ||
        setup.VerticalResolution() < 1)
        fuzz::Broken("a setup keeps a paper and a resolution", text);
    platform::PrinterSetup again;
    again.SetSetupString(after);
    if (again.SetupString() != after)
        fuzz::Broken("what a setup hands back sets up another the same", after);
}

} // namespace

TALLIO_FUZZ_TARGET(Run)
