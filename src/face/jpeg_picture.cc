#include "face/jpeg_picture.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <string>

#include "store/text_file.h"

namespace vigil {
namespace {

// libjpeg reports errors through a callback that must not return; it
// jumps back to the decoder, which then gives up on the picture.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf resume;
};

[[noreturn]] void OnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(manager->resume, 1);
}

void IgnoreMessage(j_common_ptr) {}

// No C++ object with a destructor lives across the jump: the buffer is
// owned by the caller.
bool Decode(const unsigned char* data, unsigned long size,
            RgbPicture& picture) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.output_message = IgnoreMessage;
  if (setjmp(errors.resume)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  if (info.image_width == 0 || info.image_height == 0 ||
      info.image_width > kMaxPictureEdge ||
      info.image_height > kMaxPictureEdge) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  if (info.output_components != 3) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  picture.width = static_cast<int>(info.output_width);
  picture.height = static_cast<int>(info.output_height);
  const size_t stride = static_cast<size_t>(picture.width) * 3;
  picture.pixels.resize(stride * static_cast<size_t>(picture.height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.pixels.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  // A truncated file reads as grey rows with a warning; refuse it whole.
  const bool whole = errors.base.num_warnings == 0;
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return whole;
}

}  // namespace

std::optional<RgbPicture> DecodeJpeg(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  RgbPicture picture;
  if (!Decode(reinterpret_cast<const unsigned char*>(bytes.data()),
              static_cast<unsigned long>(bytes.size()), picture)) {
    return std::nullopt;
  }
  return picture;
}

std::optional<RgbPicture> LoadJpegFile(const std::filesystem::path& file) {
  const auto bytes = ReadFileBytes(file);
  if (!bytes) return std::nullopt;
  return DecodeJpeg(*bytes);
}

}  // namespace vigil
