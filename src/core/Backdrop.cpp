#include "core/Backdrop.h"

#include "core/Module1.h"
#include "core/QVutils.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Numbers.h"
#include "platform/Picture.h"
#include "platform/UserQuestions.h"

#include <QRect>

using namespace platform;

namespace Module1 {

void Backdrop::SetPicture(std::shared_ptr<Picture> picture) {
    Bdx = std::move(picture);
    cdx = nullptr;
    EPSdirty = true;
}

Backdrop::Settings Backdrop::Current() {
    return {double(PageResolution), AdocWidth,     AdocHeight, EPSmaskX,  EPSmaskY,
            EPSmaskWidth,           EPSmaskHeight, EPSscaleX,  EPSscaleY, QVutils::EPSBoundBoxX,
            QVutils::EPSBoundBoxY};
}

bool Backdrop::ComposeIfDirty(const std::shared_ptr<Picture>& pic) {
    if (!EPSdirty)
        return true;
    if (cdx && pic && pic == composedFrom_.lock() && Current() == composedAt_) {
        EPSdirty = false;
        return true;
    }
    try {
        if (!pic)
            throw NilObjectException();
        // A failure to compose is told once: the cache stays empty until the next change makes it stale
        // again, instead of the message coming back with every repaint it causes.
        auto failed = [this](const char* message) {
            MsgBox(message);
            EPSdirty = false;
            EPSredraw = false; // nothing to draw
            cdx = nullptr;
        };
        const int maskWidth = Int(mms(EPSmaskWidth)), maskHeight = Int(mms(EPSmaskHeight));
        // A mask with no area lets nothing of the picture through: that is an empty cache, not a
        // shortage of memory.
        const bool emptyMask = maskWidth <= 0 || maskHeight <= 0;
        auto mask = emptyMask ? nullptr : NewPicture(maskWidth, maskHeight, pic->Depth());
        if (!emptyMask && !mask) {
            failed("Error Creating Temp Offscreen Mask (1) - Memory short!");
            return false;
        }
        cdx = NewPicture(Int(mms(AdocWidth)), Int(mms(AdocHeight)), pic->Depth());
        if (!cdx) {
            failed("Error Creating Temp Offscreen Page (2) - Memory short!");
            return false;
        }
        cdx->SetHorizontalResolution(pic->HorizontalResolution());
        cdx->SetVerticalResolution(pic->VerticalResolution());
        cdx->Graphics().UseOldRenderer = true;
        EPSdirty = false;
        composedFrom_ = pic;
        composedAt_ = Current();
        if (!mask)
            return true;

        mask->SetHorizontalResolution(pic->HorizontalResolution());
        mask->SetVerticalResolution(pic->VerticalResolution());
        mask->Graphics().UseOldRenderer = true;
        const double dw =
            pic->Width() * (double(PageResolution) / pic->HorizontalResolution()) * (EPSscaleX / 100);
        const double dh =
            pic->Height() * (double(PageResolution) / pic->VerticalResolution()) * (EPSscaleY / 100);
        mask->Graphics().DrawPicture(*pic, Int(mms(-QVutils::EPSBoundBoxX)), Int(mms(-QVutils::EPSBoundBoxY)),
                                     Int(dw), Int(dh), 0, 0, pic->Width(), pic->Height());
        cdx->Graphics().DrawPicture(*mask, Int(mms(EPSmaskX)), Int(mms(EPSmaskY)));
        return true;
    } catch (const NilObjectException& e) {
        MsgBox(e.Message + "Drawing backdrop");
        return false;
    }
}

void Backdrop::drawPicture(Graphics& g, double x, double y) const {
    if (!Bdx)
        return;
    const Picture& pic = *Bdx;
    const QRect page(Int(mms(x)), Int(mms(y)), Int(mms(AdocWidth)), Int(mms(AdocHeight)));
    const QRect mask(Int(mms(x + EPSmaskX)), Int(mms(y + EPSmaskY)), Int(mms(EPSmaskWidth)),
                     Int(mms(EPSmaskHeight)));
    const QRect clip = g.Clip();
    const QRect shown = clip.isEmpty() ? page & mask : page & mask & clip;
    if (shown.isEmpty())
        return;
    const double dw = pic.Width() * (double(PageResolution) / pic.HorizontalResolution()) * (EPSscaleX / 100);
    const double dh = pic.Height() * (double(PageResolution) / pic.VerticalResolution()) * (EPSscaleY / 100);
    g.SetClip(shown);
    g.DrawPicture(pic, mask.left() + Int(mms(-QVutils::EPSBoundBoxX)),
                  mask.top() + Int(mms(-QVutils::EPSBoundBoxY)), dw, dh, 0, 0, pic.Width(), pic.Height());
    g.SetClip(clip);
}

void Backdrop::Draw(Graphics& g, double x, double y) const {
    if (g.IsPrinter())
        drawPicture(g, x, y);
    else if (cdx)
        g.DrawPicture(cdx, Int(mms(x)), Int(mms(y)), Int(mms(AdocWidth)), Int(mms(AdocHeight)), 0, 0,
                      cdx->Width(), cdx->Height());
}

} // namespace Module1
