#include "toolkit/graphics/region_recording.h"

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/pict_player.h"
#include "toolkit/graphics/pict_record.h"
#include "toolkit/graphics/pict_recorder.h"
#include "toolkit/graphics/ports.h"
#include "toolkit/graphics/shape_regions.h"

namespace {

struct RegionRecording {
    bool open = false;
    GrafPtr port = nullptr;
    Handle savedPicSave = nullptr;
    qiva::pict::Recorder savedRecorder;
    PicHandle pic = nullptr;
};

RegionRecording& TheRecording() {
    static RegionRecording recording;
    return recording;
}

} // namespace

void OpenRgn() {
    RegionRecording& rec = TheRecording();
    const GrafPtr port = qiva::Drawing().current;
    if (port == nullptr || rec.open) return;
    // A picture open on the port goes on after the region, with its own recorded values.
    rec.savedPicSave = port->picSave;
    rec.savedRecorder = qiva::PictureRecorder();
    port->picSave = nullptr;
    const Rect frame{-32000, -32000, 32000, 32000};
    rec.pic = OpenPicture(&frame);
    if (rec.pic == nullptr) {
        port->picSave = rec.savedPicSave;
        return;
    }
    rec.open = true;
    rec.port = port;
}

void CloseRgn(RgnHandle dstRgn) {
    RegionRecording& rec = TheRecording();
    if (!rec.open) return;
    const GrafPtr caller = qiva::Drawing().current;
    SetPort(rec.port);
    ClosePicture();
    rec.open = false;
    SetPort(caller);
    const PicHandle pic = rec.pic;
    qiva::BuildRegionByDrawing(dstRgn, [pic] {
        const Rect frame{-32000, -32000, 32000, 32000};
        DrawPicture(pic, &frame);
    });
    KillPicture(rec.pic);
    rec.pic = nullptr;
    rec.port->picSave = rec.savedPicSave;
    qiva::PictureRecorder() = rec.savedRecorder;
    SetPort(caller);
}
