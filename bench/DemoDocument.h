// Demo documents built in code for the benchmark and the screenshot tool: an A4 page of raffle
// tickets with its backdrop picture drawn at 300 dpi, and number objects placed on it.
#pragma once

#include <memory>

class Window1;
namespace platform {
class Picture;
}

namespace demo {

// A new A4 document (one cell per sheet, start number 1000, 100 dpi) with no objects and no backdrop.
void NewA4Document();
// Two numbers per ticket, the counterfoil's turned upright: 8 objects.
void AddTicketNumbers();
// count objects (at most 129) in a grid over the page, in several fonts, sizes and colours.
void AddGridNumbers(int count);
// A number a few millimetres inside each corner of the page: 4 objects.
void AddCornerNumbers();
// The ticket form as an A4 backdrop picture at dpi dots per inch: 2480 x 3507 pixels at 300 dpi.
std::shared_ptr<platform::Picture> MakeTicketBackdrop(int dpi = 300);
// Puts the backdrop behind the page of w: whole-page mask, 100 % both ways, no offset.
void UseBackdrop(Window1& w, std::shared_ptr<platform::Picture> picture);

} // namespace demo
