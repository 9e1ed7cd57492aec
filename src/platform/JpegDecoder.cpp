// Implements DecodeJpeg with libjpeg: baseline and progressive, greyscale,
// colour and CMYK pictures. libjpeg reports fatal errors by calling an exit
// routine; ours jumps back here instead, so damaged data is refused without
// ending the host. The header's size is checked before any decoding, and a
// progress monitor stops pictures of too many scans while they are read.
// Not here: the limits themselves (formats), JPEG writing, scaling.
#include "platform/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

#include "formats/PictureChecks.h"

namespace kd::platform {
namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

constexpr char kSizeRefused[] = "JPEG picture size not supported";

[[noreturn]] void JumpWith(j_common_ptr cinfo, const char* message) {
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::snprintf(manager->message, sizeof manager->message, "%s", message);
  longjmp(manager->jump, 1);
}

[[noreturn]] void JumpOnError(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->message);
  longjmp(manager->jump, 1);
}

// Called by libjpeg between units of work, with the scan being read.
void WatchScans(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  const uint64_t pixels = static_cast<uint64_t>(d->image_width) * d->image_height;
  if (!JpegScanAllowed(d->input_scan_number, pixels)) JumpWith(cinfo, "JPEG picture has too many scans");
}

// libjpeg treats damaged or missing scan data as a warning and paints grey
// filler; a picture with holes is refused instead.
bool IsDamage(int code) {
  switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
      return true;
    default:
      return false;
  }
}

void EmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace output
  if (IsDamage(cinfo->err->msg_code)) JumpOnError(cinfo);
  cinfo->err->num_warnings++;
}

void Silence(j_common_ptr) {}

// Everything libjpeg writes to between setjmp and longjmp lives here, outside
// the frame that calls setjmp, so no local changes value across the jump.
struct DecodeJob {
  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  jpeg_progress_mgr progress{};
  DecodedImage image;

  ~DecodeJob() { jpeg_destroy_decompress(&cinfo); }  // also safe when never created
};

uint32_t CmykToRgb(const unsigned char* p, bool inverted) {
  int c = p[0], m = p[1], y = p[2], k = p[3];
  if (!inverted) {
    c = 255 - c;
    m = 255 - m;
    y = 255 - y;
    k = 255 - k;
  }
  uint32_t r = static_cast<uint32_t>(c * k / 255);
  uint32_t g = static_cast<uint32_t>(m * k / 255);
  uint32_t b = static_cast<uint32_t>(y * k / 255);
  return (r << 16) | (g << 8) | b;
}

void ConvertCmykRow(uint32_t* row, int width, bool inverted) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(row);
  for (int x = 0; x < width; ++x) row[x] = CmykToRgb(bytes + 4 * x, inverted);
}

void DropPadByte(uint32_t* row, int width) {
  for (int x = 0; x < width; ++x) row[x] &= 0x00FFFFFFu;
}

bool Decode(DecodeJob& job, const unsigned char* data, size_t size, std::string& error) {
  jpeg_decompress_struct& cinfo = job.cinfo;
  cinfo.err = jpeg_std_error(&job.errors.pub);
  job.errors.pub.error_exit = JumpOnError;
  job.errors.pub.emit_message = EmitMessage;
  job.errors.pub.output_message = Silence;
  if (setjmp(job.errors.jump)) {
    error = job.errors.message;
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  // Before any decoding: a progressive picture's first step reads every scan
  // into a buffer of the whole picture.
  if (!JpegSizeAllowed(cinfo.image_width, cinfo.image_height)) {
    error = kSizeRefused;
    return false;
  }
  job.progress.progress_monitor = WatchScans;
  cinfo.progress = &job.progress;

  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
  jpeg_start_decompress(&cinfo);
  const unsigned long long pixelCount =
      static_cast<unsigned long long>(cinfo.output_width) * cinfo.output_height;
  if (cinfo.output_components != 4 || !JpegSizeAllowed(cinfo.output_width, cinfo.output_height)) {
    error = kSizeRefused;
    return false;
  }
  const int width = static_cast<int>(cinfo.output_width);
  job.image.width = width;
  job.image.height = static_cast<int>(cinfo.output_height);
  job.image.pixels.resize(static_cast<size_t>(pixelCount));
  while (cinfo.output_scanline < cinfo.output_height) {
    uint32_t* row = job.image.pixels.data() + static_cast<size_t>(cinfo.output_scanline) * width;
    JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row)};
    if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) {
      error = "JPEG data ended early";
      return false;
    }
    if (cmyk) {
      ConvertCmykRow(row, width, cinfo.saw_Adobe_marker != 0);
    } else {
      DropPadByte(row, width);
    }
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(const unsigned char* data, size_t size, DecodedImage& out, std::string& error) {
  if (data == nullptr || size == 0) {
    error = "Empty JPEG data";
    return false;
  }
  try {
    DecodeJob job;
    if (!Decode(job, data, size, error)) return false;
    out = std::move(job.image);
    return true;
  } catch (const std::bad_alloc&) {
    error = "Not enough memory for the JPEG picture";
    return false;
  }
}

}  // namespace kd::platform
