// Pixel test helpers: scratch folders, BMP reading, JPEG encoding through
// libjpeg, metafile and icon data made with GDI.
#include "support/Pixels.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/GdiDevice.h"
#include "platform/GdiObjects.h"

// jpeglib.h's own boolean and INT32 must not meet windows.h's in a bad order.
#include <jpeglib.h>

namespace kdtest {
namespace {

uint32_t U32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Put16(Bytes& b, size_t at, uint16_t v) {
  b[at] = static_cast<unsigned char>(v);
  b[at + 1] = static_cast<unsigned char>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

void DeleteTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(full);
      } else {
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  for (;;) {
    path_ = std::string(temp) + "kdpie-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no scratch folder");
  }
}

ScratchFolder::~ScratchFolder() { DeleteTree(path_); }

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteBytes(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

Bytes ReadBytes(const std::string& path) {
  Bytes bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return bytes;
  unsigned char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  std::fclose(f);
  return bytes;
}

BmpFile ReadBmp(const std::string& path) {
  BmpFile bmp;
  const Bytes b = ReadBytes(path);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return bmp;
  const int width = static_cast<int>(U32(&b[18]));
  const int height = static_cast<int>(U32(&b[22]));
  const int bits = b[28] | (b[29] << 8);
  const uint32_t offset = U32(&b[10]);
  if (width <= 0 || height <= 0 || (bits != 24 && bits != 32) || U32(&b[30]) != 0) return bmp;
  const size_t bytesPerPixel = bits / 8;
  const size_t stride = (width * bytesPerPixel + 3) / 4 * 4;
  if (offset + stride * height > b.size()) return bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.bitsPerPixel = bits;
  bmp.pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = &b[offset + stride * (height - 1 - y)];
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = row + x * bytesPerPixel;
      bmp.pixels[static_cast<size_t>(y) * width + x] = kd::RGBColor(p[2], p[1], p[0]);
    }
  }
  return bmp;
}

namespace {
struct JpegFailure {
  jpeg_error_mgr pub;
  jmp_buf jump;
};
void JpegFail(j_common_ptr cinfo) { longjmp(reinterpret_cast<JpegFailure*>(cinfo->err)->jump, 1); }

struct CompressJob {
  jpeg_compress_struct cinfo{};
  JpegFailure errors{};
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  std::vector<unsigned char> row;
  std::vector<jpeg_scan_info> script;
  ~CompressJob() {
    jpeg_destroy_compress(&cinfo);
    std::free(out);
  }
};

// The DC of every component, then per component each AC coefficient in a
// band of its own, first with its low 4 bits held back and then refined
// bit by bit, until `scans` scans are written.
void ManyScans(CompressJob& job, int scans) {
  const int components = job.cinfo.num_components;
  jpeg_scan_info dc{};
  dc.comps_in_scan = components;
  for (int c = 0; c < components; ++c) dc.component_index[c] = c;
  job.script.assign(1, dc);
  for (int c = 0; c < components; ++c) {
    for (int k = 1; k < 64; ++k) {
      for (int bit = 4; bit >= 0; --bit) {
        if (static_cast<int>(job.script.size()) >= scans) break;
        jpeg_scan_info ac{};
        ac.comps_in_scan = 1;
        ac.component_index[0] = c;
        ac.Ss = ac.Se = k;
        ac.Ah = bit == 4 ? 0 : bit + 1;
        ac.Al = bit;
        job.script.push_back(ac);
      }
    }
  }
  job.cinfo.scan_info = job.script.data();
  job.cinfo.num_scans = static_cast<int>(job.script.size());
}

bool Compress(CompressJob& job, const std::vector<kd::TColor>& pixels, int width, int height, int quality,
              bool grey, const JpegCoding& coding) {
  job.cinfo.err = jpeg_std_error(&job.errors.pub);
  job.errors.pub.error_exit = JpegFail;
  if (setjmp(job.errors.jump)) return false;
  jpeg_create_compress(&job.cinfo);
  jpeg_mem_dest(&job.cinfo, &job.out, &job.outSize);
  job.cinfo.image_width = static_cast<JDIMENSION>(width);
  job.cinfo.image_height = static_cast<JDIMENSION>(height);
  job.cinfo.input_components = grey ? 1 : 3;
  job.cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&job.cinfo);
  jpeg_set_quality(&job.cinfo, quality, TRUE);
  job.cinfo.arith_code = coding.arithmetic ? TRUE : FALSE;
  if (coding.progressive) jpeg_simple_progression(&job.cinfo);
  if (coding.scans > 0) ManyScans(job, coding.scans);
  jpeg_start_compress(&job.cinfo, TRUE);
  job.row.resize(static_cast<size_t>(width) * 3);
  while (job.cinfo.next_scanline < job.cinfo.image_height) {
    const size_t y = job.cinfo.next_scanline;
    for (int x = 0; x < width; ++x) {
      const kd::TColor c = pixels[y * width + x];
      if (grey) {
        job.row[x] = static_cast<unsigned char>(kd::RedOf(c));
        continue;
      }
      job.row[3 * x] = static_cast<unsigned char>(kd::RedOf(c));
      job.row[3 * x + 1] = static_cast<unsigned char>(kd::GreenOf(c));
      job.row[3 * x + 2] = static_cast<unsigned char>(kd::BlueOf(c));
    }
    JSAMPROW rows[1] = {job.row.data()};
    jpeg_write_scanlines(&job.cinfo, rows, 1);
  }
  jpeg_finish_compress(&job.cinfo);
  return true;
}
}  // namespace

Bytes EncodeJpeg(const std::vector<kd::TColor>& pixels, int width, int height, int quality, bool grey,
                 const JpegCoding& coding) {
  CompressJob job;
  if (!Compress(job, pixels, width, height, quality, grey, coding)) throw std::runtime_error("JPEG encoding failed");
  return Bytes(job.out, job.out + job.outSize);
}

std::vector<kd::TColor> PixelsIn(const kd::platform::GdiOffscreenImage& image, const kd::TRect& rect) {
  std::vector<kd::TColor> out;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) out.push_back(image.PixelAt(x, y));
  }
  return out;
}

int CountColor(const kd::platform::GdiOffscreenImage& image, const kd::TRect& rect, kd::TColor color) {
  int count = 0;
  for (kd::TColor c : PixelsIn(image, rect)) count += c == color ? 1 : 0;
  return count;
}

bool Near(kd::TColor a, kd::TColor b, int tolerance) {
  return std::abs(kd::RedOf(a) - kd::RedOf(b)) <= tolerance &&
         std::abs(kd::GreenOf(a) - kd::GreenOf(b)) <= tolerance &&
         std::abs(kd::BlueOf(a) - kd::BlueOf(b)) <= tolerance;
}

namespace {
void FillFrame(HDC dc, kd::TColor color) {
  kd::platform::Brush brush(CreateSolidBrush(static_cast<COLORREF>(color)));
  kd::platform::SelectionScope select(dc, brush.Get());
  SelectObject(dc, GetStockObject(NULL_PEN));
  ::Rectangle(dc, 0, 0, 101, 101);
}
}  // namespace

Bytes MakeWmf(kd::TColor color, bool placeable) {
  HDC dc = CreateMetaFileA(nullptr);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, 100, 100, nullptr);
  FillFrame(dc, color);
  HMETAFILE metafile = CloseMetaFile(dc);
  const UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
  Bytes wmf(size);
  GetMetaFileBitsEx(metafile, size, wmf.data());
  DeleteMetaFile(metafile);
  if (!placeable) return wmf;
  Bytes header(22, 0);
  Put32(header, 0, 0x9AC6CDD7u);
  Put16(header, 10, 100);  // bbox right
  Put16(header, 12, 100);  // bbox bottom
  Put16(header, 14, 96);   // units per inch
  uint16_t sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= static_cast<uint16_t>(header[2 * i] | (header[2 * i + 1] << 8));
  Put16(header, 20, sum);
  header.insert(header.end(), wmf.begin(), wmf.end());
  return header;
}

Bytes MakeEmf(kd::TColor color) {
  // A frame of 100 x 100 pixels at the reference DC's resolution.
  HDC screen = GetDC(nullptr);
  const int mmX = GetDeviceCaps(screen, HORZSIZE) * 100, pxX = GetDeviceCaps(screen, HORZRES);
  const int mmY = GetDeviceCaps(screen, VERTSIZE) * 100, pxY = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
  RECT frame{0, 0, MulDiv(100, mmX, pxX), MulDiv(100, mmY, pxY)};
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  FillFrame(dc, color);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
  Bytes emf(size);
  GetEnhMetaFileBits(metafile, size, emf.data());
  DeleteEnhMetaFile(metafile);
  return emf;
}

Bytes MakeIco(kd::TColor color) {
  const int side = 16;
  const size_t xorBytes = side * side * 4, andBytes = side * 4;  // AND rows padded to 32 bits
  const size_t imageBytes = 40 + xorBytes + andBytes;
  Bytes ico(6 + 16 + imageBytes, 0);
  Put16(ico, 2, 1);
  Put16(ico, 4, 1);
  ico[6] = side;
  ico[7] = side;
  Put16(ico, 6 + 4, 1);
  Put16(ico, 6 + 6, 32);
  Put32(ico, 6 + 8, static_cast<uint32_t>(imageBytes));
  Put32(ico, 6 + 12, 22);
  const size_t h = 22;
  Put32(ico, h, 40);
  Put32(ico, h + 4, side);
  Put32(ico, h + 8, side * 2);
  Put16(ico, h + 12, 1);
  Put16(ico, h + 14, 32);
  for (int i = 0; i < side * side; ++i) {
    const size_t p = h + 40 + 4 * i;
    ico[p] = static_cast<unsigned char>(kd::BlueOf(color));
    ico[p + 1] = static_cast<unsigned char>(kd::GreenOf(color));
    ico[p + 2] = static_cast<unsigned char>(kd::RedOf(color));
    ico[p + 3] = 255;
  }
  return ico;  // AND mask all zero: every pixel opaque
}

}  // namespace kdtest
