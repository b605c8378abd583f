#include "core/Module1.h"

#include "core/QVutils.h"
#include "editor/Window1.h"
#include "platform/Canvas.h"
#include "platform/Window.h"

using namespace platform;

namespace Module1 {

void NewDoc() {
    Window1& w = SharedInstance<Window1>();
    w.MakeNumTool = false;
    w.NumSelTool = true;

    FitToPage = false;
    PageResolution = 100;
    TotalObjects = 0;
    CurrentObject = -1;

    AdocHeight = 297;
    AdocWidth = 210;
    AFileName.clear();
    AinTag = 0;
    Aqty = 0;
    Astart = 0;
    AstepD = 1;
    AstepDV = 0;
    AstepR = 1;
    AstepRV = 0;
    AsigWidth = 210;
    AsigHeight = 297;

    EPSfilename.clear();
    EPSpathName.clear();
    QVutils::EPSBoundBoxX = 0;
    QVutils::EPSBoundBoxY = 0;
    EPSscaleX = 100;
    EPSscaleY = 100;
    EPSmaskX = EPSmaskY = EPSmaskWidth = EPSmaskHeight = 0;
    EPSuseForms = false;
    QVutils::EPS = false;
    EPSdirty = true;

    w.Bdx = nullptr;
    w.cdx = nullptr;
    w.DrawPage(w.ControlNamed<Canvas>("Canvas1")->Graphics(), AdocWidth, AdocHeight);
    SyncHead(false);

    RName.clear();
    Rxloc = 0;
    Ryloc = 0;
    Rpic.clear();
    Rpinc = 0;
    Rmtype = 0;
    Rfontfam = "Arial";
    RfontStyle = "Normal";
    RFontSize = 14;
    Rangle = 0;
    Rcolour = "C000M000Y000K100";
    // The colour parts follow the default colour too; left as they were, a new object's display colour
    // would come from whatever colour was last parsed (white at start-up: invisible numbers).
    ParseColour(Rcolour);
    SyncSel(false, 0);

    DirtyFlag = false;
}

} // namespace Module1
