// JPEG through libjpeg, from memory, decoded row by row into the raster.
//
// libjpeg reports errors through error_exit, which longjmps back to RunGuarded. Neither
// RunGuarded nor anything a jump can leave (the phase bodies, our callbacks) holds an
// object with a destructor: all state lives in TJpegJob, a plain struct the caller owns.
// Checks that build messages run between the guarded phases.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

#include "graphics/ImageLimits.h"
#include "graphics/codecs/Bytes.h"
#include "graphics/codecs/Codecs.h"

namespace pagora::codec {

namespace {

const JOCTET kFakeEoi[2] = {0xFF, JPEG_EOI};

struct TJpegJob {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Errors;
  jpeg_source_mgr Source;
  jpeg_progress_mgr Progress;
  std::jmp_buf Jump;
  const JOCTET* Data;
  std::size_t Size;
  bool RanDry;
  const char* Reason;  // set by our own checks; otherwise libjpeg's message is used
  char Message[JMSG_LENGTH_MAX];
  std::uint32_t* Out;
};

TJpegJob* JobOf(j_common_ptr c) { return static_cast<TJpegJob*>(c->client_data); }

[[noreturn]] void Fail(j_common_ptr c, const char* reason) {
  JobOf(c)->Reason = reason;
  (*c->err->error_exit)(c);
  std::abort();  // error_exit does not return
}

void ErrorExit(j_common_ptr c) {
  TJpegJob* job = JobOf(c);
  if (!job->Reason) (*c->err->format_message)(c, job->Message);
  std::longjmp(job->Jump, 1);
}
void OutputMessage(j_common_ptr) {}

void InitSource(j_decompress_ptr) {}
// At the end of the data, an end-of-image marker: a file cut short decodes as far as it
// goes (libjpeg fills the rest) instead of failing.
boolean FillInput(j_decompress_ptr c) {
  JobOf(reinterpret_cast<j_common_ptr>(c))->RanDry = true;
  c->src->next_input_byte = kFakeEoi;
  c->src->bytes_in_buffer = 2;
  return TRUE;
}
void SkipInput(j_decompress_ptr c, long count) {
  if (count <= 0) return;
  if (static_cast<unsigned long>(count) > c->src->bytes_in_buffer) {
    c->src->bytes_in_buffer = 0;
    FillInput(c);
    return;
  }
  c->src->next_input_byte += count;
  c->src->bytes_in_buffer -= static_cast<std::size_t>(count);
}
void TermSource(j_decompress_ptr) {}

void ProgressFn(j_common_ptr c) {
  if (reinterpret_cast<j_decompress_ptr>(c)->input_scan_number > kMaxJpegScans) Fail(c, "too many scans");
}

void HeaderPhase(TJpegJob* job) {
  j_decompress_ptr c = &job->Info;
  jpeg_create_decompress(c);
  c->mem->max_memory_to_use = kMaxJpegWorkingBytes;
  job->Source.init_source = InitSource;
  job->Source.fill_input_buffer = FillInput;
  job->Source.skip_input_data = SkipInput;
  job->Source.resync_to_restart = jpeg_resync_to_restart;
  job->Source.term_source = TermSource;
  job->Source.next_input_byte = job->Data;
  job->Source.bytes_in_buffer = job->Size;
  c->src = &job->Source;
  job->Progress.progress_monitor = ProgressFn;
  c->progress = &job->Progress;
  if (jpeg_read_header(c, TRUE) != JPEG_HEADER_OK) Fail(reinterpret_cast<j_common_ptr>(c), "no image in the file");
}

unsigned Mul255(unsigned a, unsigned b) { return (a * b + 127) / 255; }

void DecodePhase(TJpegJob* job) {
  j_decompress_ptr c = &job->Info;
  auto* common = reinterpret_cast<j_common_ptr>(c);
  switch (c->jpeg_color_space) {
    case JCS_GRAYSCALE: c->out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: c->out_color_space = JCS_CMYK; break;
    case JCS_UNKNOWN: break;  // the components as they are
    default: c->out_color_space = JCS_RGB; break;
  }
  c->dct_method = JDCT_ISLOW;
  const JDIMENSION width = c->image_width;
  jpeg_start_decompress(c);
  const int comps = c->output_components;
  if (c->output_width != width || c->output_height != c->image_height || (comps != 1 && comps != 3 && comps != 4)) Fail(common, "unexpected output layout");
  // Adobe's CMYK files (the only common ones) store the inks inverted.
  const bool inverted = c->saw_Adobe_marker;
  JSAMPARRAY row = (*c->mem->alloc_sarray)(common, JPOOL_IMAGE, width * static_cast<JDIMENSION>(comps), 1);
  while (c->output_scanline < c->output_height) {
    const JDIMENSION y = c->output_scanline;
    if (jpeg_read_scanlines(c, row, 1) != 1) Fail(common, "the decoder stopped");
    const JSAMPLE* in = row[0];
    std::uint32_t* out = job->Out + static_cast<std::size_t>(y) * width;
    for (JDIMENSION x = 0; x < width; ++x) {
      if (comps == 1) {
        out[x] = MakeARGB(255, in[x], in[x], in[x]);
      } else if (comps == 3) {
        out[x] = MakeARGB(255, in[3 * x], in[3 * x + 1], in[3 * x + 2]);
      } else {
        unsigned cy = in[4 * x], m = in[4 * x + 1], ye = in[4 * x + 2], k = in[4 * x + 3];
        if (!inverted) cy = 255 - cy, m = 255 - m, ye = 255 - ye, k = 255 - k;
        out[x] = MakeARGB(255, Mul255(cy, k), Mul255(m, k), Mul255(ye, k));
      }
    }
  }
}

bool RunGuarded(TJpegJob* job, void (*phase)(TJpegJob*)) {
  if (setjmp(job->Jump)) return false;
  phase(job);
  return true;
}

// Holds the libjpeg object from the header to the end of decoding and destroys it.
class TJpegSession {
public:
  explicit TJpegSession(std::string_view bytes) : job_(std::make_unique<TJpegJob>()) {
    job_->Data = reinterpret_cast<const JOCTET*>(bytes.data());
    job_->Size = bytes.size();
    job_->Info.err = jpeg_std_error(&job_->Errors);
    job_->Errors.error_exit = ErrorExit;
    job_->Errors.output_message = OutputMessage;
    job_->Info.client_data = job_.get();
  }
  ~TJpegSession() { jpeg_destroy_decompress(&job_->Info); }
  TJpegSession(const TJpegSession&) = delete;
  TJpegSession& operator=(const TJpegSession&) = delete;

  bool Run(void (*phase)(TJpegJob*), std::string& error) {
    if (RunGuarded(job_.get(), phase)) return true;
    error = std::string("JPEG: ") + (job_->Reason ? job_->Reason : job_->Message);
    return false;
  }

  // The header, the size limits, and whether the data that follows the header can hold
  // that many blocks: Huffman coding spends at least a bit on every block's DC value,
  // arithmetic coding (rare) is allowed 1/64 bit.
  bool ReadHeader(TPictureInfo& info, std::string& error) {
    if (!Run(HeaderPhase, error)) return false;
    const jpeg_decompress_struct& c = job_->Info;
    if (!CheckImageSize(c.image_width, c.image_height, "JPEG", error)) return false;
    std::uint64_t blocks = 0;
    for (int i = 0; i < c.num_components; ++i)
      blocks += static_cast<std::uint64_t>(c.comp_info[i].width_in_blocks) * c.comp_info[i].height_in_blocks;
    const std::uint64_t data = job_->RanDry ? 0 : c.src->bytes_in_buffer;
    if (data * 8 * (c.arith_code ? 64 : 1) < blocks) {
      error = "JPEG: the image data is too short for " + std::to_string(c.image_width) + " x " +
              std::to_string(c.image_height) + " pixels";
      return false;
    }
    info.Format = TPictureFormat::JPEG;
    info.Width = static_cast<int>(c.image_width);
    info.Height = static_cast<int>(c.image_height);
    return true;
  }

  bool Decode(std::uint32_t* out, std::string& error) {
    job_->Out = out;
    return Run(DecodePhase, error);
  }

private:
  std::unique_ptr<TJpegJob> job_;  // value-initialised: destroying it before creation is safe
};

}  // namespace

bool ReadJpegInfo(std::string_view bytes, TPictureInfo& info, std::string& error) {
  if (!Fits(bytes, 0, 3) || At8(bytes, 0) != 0xFF || At8(bytes, 1) != 0xD8) {
    error = "JPEG: not a JPEG file";
    return false;
  }
  TJpegSession session(bytes);
  return session.ReadHeader(info, error);
}

bool DecodeJpeg(std::string_view bytes, const TPictureInfo& info, TRasterImage& raster, std::string& error) {
  TJpegSession session(bytes);
  TPictureInfo again;
  if (!session.ReadHeader(again, error)) return false;
  if (again.Width != info.Width || again.Height != info.Height) {
    error = "JPEG: the size differs from the header's";
    return false;
  }
  if (!AllocateRaster(info.Width, info.Height, raster, error)) return false;
  if (!session.Decode(raster.Pixels.data(), error)) {
    raster = TRasterImage{};
    return false;
  }
  return true;
}

}  // namespace pagora::codec
