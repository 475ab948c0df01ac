#include "update/ZipMemoryIo.h"

#include <gtest/gtest.h>

namespace quarrow {
namespace {

TEST(ZipMemoryIo, SeeksStayInsideTheBlock) {
  const unsigned char bytes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  MemoryBlock block{bytes, sizeof(bytes), 0};
  zlib_filefunc64_def io;
  FillMemoryIo(&io, &block);
  voidpf stream = io.zopen64_file(io.opaque, nullptr, ZLIB_FILEFUNC_MODE_READ | ZLIB_FILEFUNC_MODE_EXISTING);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(io.zopen64_file(io.opaque, nullptr, ZLIB_FILEFUNC_MODE_CREATE), nullptr);

  struct Step {
    ZPOS64_T offset;
    int origin;
    long result;
    ZPOS64_T position;  // after the step
  } steps[] = {
      {3, ZLIB_FILEFUNC_SEEK_SET, 0, 3},    {4, ZLIB_FILEFUNC_SEEK_CUR, 0, 7},
      {4, ZLIB_FILEFUNC_SEEK_CUR, -1, 7},   {3, ZLIB_FILEFUNC_SEEK_CUR, 0, 10},
      {0, ZLIB_FILEFUNC_SEEK_END, 0, 10},   {1, ZLIB_FILEFUNC_SEEK_END, -1, 10},
      {11, ZLIB_FILEFUNC_SEEK_SET, -1, 10}, {~0ull, ZLIB_FILEFUNC_SEEK_CUR, -1, 10},
      {0, ZLIB_FILEFUNC_SEEK_SET, 0, 0},    {~0ull, ZLIB_FILEFUNC_SEEK_SET, -1, 0},
      {2, 7, -1, 0},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(io.zseek64_file(io.opaque, stream, s.offset, s.origin), s.result) << s.offset << " " << s.origin;
    EXPECT_EQ(io.ztell64_file(io.opaque, stream), s.position) << s.offset << " " << s.origin;
  }

  unsigned char out[16] = {};
  ASSERT_EQ(io.zseek64_file(io.opaque, stream, 6, ZLIB_FILEFUNC_SEEK_SET), 0);
  EXPECT_EQ(io.zread_file(io.opaque, stream, out, 2), 2u);
  EXPECT_EQ(io.zerror_file(io.opaque, stream), 0);
  EXPECT_EQ(io.zread_file(io.opaque, stream, out, sizeof(out)), 2u);  // only what is left
  EXPECT_EQ(out[0], 9);
  EXPECT_EQ(out[1], 10);
  EXPECT_NE(io.zerror_file(io.opaque, stream), 0);  // cut short is an error, not a clean end
  EXPECT_EQ(io.zread_file(io.opaque, stream, out, sizeof(out)), 0u);
  EXPECT_EQ(io.zwrite_file(io.opaque, stream, out, 1), 0u);
}

}  // namespace
}  // namespace quarrow
