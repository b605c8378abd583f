#include "core/JpegPlanes.h"

#include "platform/Picture.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h> // after cstdio: it uses FILE

#include <jerror.h>

namespace backdrop {

namespace {

// libjpeg's error handling: an error jumps back to the step that was running (the memory it lacked is
// told apart), a file that ends early is noted, and nothing is printed.
struct Errors {
    jpeg_error_mgr manager; // first: libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf back;
    bool endedEarly = false;
    bool memoryShort = false;
};

Errors& ErrorsOf(j_common_ptr info) {
    return *reinterpret_cast<Errors*>(info->err);
}

[[noreturn]] void GiveUp(j_common_ptr info) {
    ErrorsOf(info).memoryShort = info->err->msg_code == JERR_OUT_OF_MEMORY;
    std::longjmp(ErrorsOf(info).back, 1);
}

void Note(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        ErrorsOf(info).endedEarly = true;
}

void Quiet(j_common_ptr) {}

// One decompression, destroyed whatever happens. The steps that run libjpeg (ReadHeader, ReadPlanes,
// Finish) hold nothing with a destructor, so that an error may jump out of them.
struct Decompression {
    jpeg_decompress_struct info{};
    Errors errors{};

    Decompression() {
        info.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = GiveUp;
        errors.manager.emit_message = Note;
        errors.manager.output_message = Quiet;
    }
    ~Decompression() { jpeg_destroy_decompress(&info); }
    Decompression(const Decompression&) = delete;
    Decompression& operator=(const Decompression&) = delete;
};

bool ReadHeader(Decompression& d, QByteArrayView bytes) {
    if (setjmp(d.errors.back))
        return false;
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.data()), (unsigned long)bytes.size());
    jpeg_read_header(&d.info, TRUE);
    return true;
}

// Where libjpeg puts the rows of one component: rowsPerBand rows for each band of rows it decodes.
struct Destination {
    std::uint8_t* samples;
    int stride, rowsPerBand;
};

bool ReadPlanes(Decompression& d, const Destination (&to)[3]) {
    if (setjmp(d.errors.back))
        return false;
    d.info.raw_data_out = TRUE;
    jpeg_start_decompress(&d.info);
    JSAMPROW rows[3][MAX_SAMP_FACTOR * DCTSIZE];
    JSAMPARRAY bands[3] = {rows[0], rows[1], rows[2]};
    const JDIMENSION lines = JDIMENSION(d.info.max_v_samp_factor * d.info.min_DCT_scaled_size);
    for (std::size_t band = 0; d.info.output_scanline < d.info.output_height; ++band) {
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < to[c].rowsPerBand; ++r)
                rows[c][r] = to[c].samples + (band * std::size_t(to[c].rowsPerBand) + std::size_t(r)) *
                                                 std::size_t(to[c].stride);
        if (jpeg_read_raw_data(&d.info, bands, lines) == 0)
            return false;
    }
    return true;
}

// Reads on to the end of the picture, as Qt's reader does: an error there fails the picture too.
bool Finish(Decompression& d) {
    if (setjmp(d.errors.back))
        return false;
    jpeg_finish_decompress(&d.info);
    return true;
}

DecodedPicture RefusedBy(const Decompression& d) {
    const jpeg_decompress_struct& info = d.info;
    return d.errors.memoryShort
               ? Refused(platform::PictureTooLarge(info.image_width, info.image_height), true)
               : Refused(platform::PictureDamaged());
}

// Whether libjpeg widens the colour planes as the planes do: YCbCr in three 8-bit components, Cb and Cr
// sampled alike, each way at the full size or half of it.
bool TakesPlanes(const jpeg_decompress_struct& info) {
    if (info.jpeg_color_space != JCS_YCbCr || info.num_components != 3 || info.data_precision != 8)
        return false;
    const jpeg_component_info* c = info.comp_info;
    auto fullOrHalf = [](int colour, int luma) { return colour == luma || colour * 2 == luma; };
    return c[0].h_samp_factor == info.max_h_samp_factor && c[0].v_samp_factor == info.max_v_samp_factor &&
           c[1].h_samp_factor == c[2].h_samp_factor && c[1].v_samp_factor == c[2].v_samp_factor &&
           fullOrHalf(c[1].h_samp_factor, c[0].h_samp_factor) &&
           fullOrHalf(c[1].v_samp_factor, c[0].v_samp_factor);
}

// Bits held a pixel while decoding: the planes, and for a file of several scans libjpeg's coefficients
// of the whole picture (two bytes a sample).
int PeakBitsPerPixel(const jpeg_decompress_struct& info, bool halvedAcross, bool halvedDown) {
    const int planes = 8 + 16 / ((halvedAcross ? 2 : 1) * (halvedDown ? 2 : 1));
    const bool severalScans = info.progressive_mode || info.comps_in_scan < info.num_components;
    return severalScans ? 3 * planes : planes;
}

// The dots per metre Qt's reader sets from the JFIF density, and the default of a new image where that
// is none.
int DotsPerMeter(int unit, int density, int unstated) {
    const int perMeter = unit == 1 ? int(100. * density / 2.54) : unit == 2 ? int(100. * density) : 0;
    return perMeter != 0 ? perMeter : unstated;
}

} // namespace

std::optional<DecodedPicture> DecodeJpegPlanes(QByteArrayView bytes) {
    if (!bytes.startsWith(QByteArrayView("\xFF\xD8", 2)))
        return std::nullopt;
    Decompression d;
    if (!ReadHeader(d, bytes))
        return RefusedBy(d);
    const jpeg_decompress_struct& info = d.info;
    if (!TakesPlanes(info))
        return std::nullopt;

    DecodedPicture picture;
    platform::ColourPlanes& planes = picture.planes;
    planes.width = int(info.image_width);
    planes.height = int(info.image_height);
    planes.halvedAcross = info.comp_info[1].h_samp_factor != info.comp_info[0].h_samp_factor;
    planes.halvedDown = info.comp_info[1].v_samp_factor != info.comp_info[0].v_samp_factor;
    // Too large is told before incomplete, and neither is decoded.
    if (!platform::PictureFits(planes.width, planes.height,
                               PeakBitsPerPixel(info, planes.halvedAcross, planes.halvedDown)))
        return Refused(platform::PictureTooLarge(planes.width, planes.height), true);
    if (!HoldsEveryRow(bytes, "jpeg"))
        return Refused(platform::PictureDamaged());

    // Each plane as libjpeg writes it: whole blocks across, whole bands of blocks down.
    platform::ColourPlanes::Plane* const plane[3] = {&planes.y, &planes.cb, &planes.cr};
    Destination to[3];
    try {
        for (int c = 0; c < 3; ++c) {
            const jpeg_component_info& component = info.comp_info[c];
            platform::ColourPlanes::Plane& p = *plane[c];
            p.width = int(component.downsampled_width);
            p.height = int(component.downsampled_height);
            p.stride = int(component.width_in_blocks) * DCTSIZE;
            const int rowsPerBand = component.v_samp_factor * DCTSIZE;
            p.samples.resize(std::size_t(p.stride) * info.total_iMCU_rows * std::size_t(rowsPerBand));
            to[c] = {p.samples.data(), p.stride, rowsPerBand};
        }
    } catch (const std::bad_alloc&) {
        return Refused(platform::PictureTooLarge(planes.width, planes.height), true);
    }
    if (!ReadPlanes(d, to))
        return RefusedBy(d);
    if (d.errors.endedEarly) // rows made up by libjpeg
        return Refused(platform::PictureDamaged());
    if (!Finish(d))
        return RefusedBy(d);

    // The resolution Qt's reader would give the image, and that DecodePicture would take from it.
    if (StatesResolution(bytes, "jpeg")) {
        const QImage probe(1, 1, QImage::Format_RGB32);
        planes.dotsPerMeterX = DotsPerMeter(info.density_unit, info.X_density, probe.dotsPerMeterX());
        planes.dotsPerMeterY = DotsPerMeter(info.density_unit, info.Y_density, probe.dotsPerMeterY());
        picture.horizontalResolution = DotsPerInch(planes.dotsPerMeterX);
        picture.verticalResolution = DotsPerInch(planes.dotsPerMeterY);
    }
    return picture;
}

} // namespace backdrop
