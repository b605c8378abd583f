// The help window's stored text: the picture codes, the barcode and MICR fonts, and rotated numbers.
#include "dialogs/Help1.h"

QString Help1::StoredText() {
    // Lines end with carriage returns, the last one included; blanks at either end are meant.
    return QStringLiteral(
        "Picture: \r"
        "Used to enter additional Alpha Numerics to the print line. Special codes used are: '/' as first "
        "char of picture=print leading zeros, '^' + 'A' or 'a' or 'K' or 'k' will force the numerics in "
        "the serial number to be translated to the relative Alpha position - Used for Barcode fonts\r"
        "\r"
        "Fonts:\r"
        " MICR font size should be 18point.\r"
        " In Picture use 'C\"=Start/finish 'D'=dash 'A'=EndBSB 'B'=amount.\r"
        " EanBwr36 = Bars with width reduction - used for processes that could gain in size. \r"
        " Ean36 = Normal bar width,\r"
        "Barcode fonts can be tranlated using the 'A', or 'a', or 'K' or 'k' commands.\r"
        "\r"
        "Angle:\r"
        " Can work sort of, under Win32 (using an image at 72dpi resolution) - Macs will print blank!\r");
}
