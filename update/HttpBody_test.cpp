#include "update/HttpBody.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace quarrow {
namespace {

// A connection that hands out its body in the pieces given, one piece (cut to
// the buffer) per read, then zero-byte reads; failAt makes that read fail.
struct PiecewiseBody {
  std::vector<std::string> pieces;
  size_t failAt = SIZE_MAX;
  size_t reads = 0;
  size_t piece = 0, offset = 0;

  ChunkReader Reader() {
    return [this](char* buffer, uint32_t capacity, uint32_t* got) {
      if (reads++ == failAt) return false;
      *got = 0;
      if (piece == pieces.size()) return true;
      const std::string& p = pieces[piece];
      uint32_t n = static_cast<uint32_t>(std::min<size_t>(capacity, p.size() - offset));
      memcpy(buffer, p.data() + offset, n);
      *got = n;
      offset += n;
      if (offset == p.size()) ++piece, offset = 0;
      return true;
    };
  }
};

TEST(HttpBody, ShortReadsInTheMiddleDoNotEndTheBody) {
  // A URL that arrives in two short pieces, as a slow server sends it.
  PiecewiseBody body{{"http://127.0.0.1:18480/fil", "es/new.exe"}};
  std::string copied;
  EXPECT_EQ(CopyBodyInChunks(body.Reader(), [&](const char* d, uint32_t n) { return copied.append(d, n), true; }),
            BodyCopy::Complete);
  EXPECT_EQ(copied, "http://127.0.0.1:18480/files/new.exe");
}

TEST(HttpBody, LongBodyComesInChunksOfAtMost1024Bytes) {
  std::string text(2500, 'x');
  text[0] = 'a';
  text[2499] = 'z';
  PiecewiseBody body{{text}};
  std::vector<uint32_t> sizes;
  std::string copied;
  EXPECT_EQ(CopyBodyInChunks(body.Reader(),
                             [&](const char* d, uint32_t n) {
                               sizes.push_back(n);
                               copied.append(d, n);
                               return true;
                             }),
            BodyCopy::Complete);
  EXPECT_EQ(copied, text);
  EXPECT_EQ(sizes, (std::vector<uint32_t>{1024, 1024, 452}));
}

TEST(HttpBody, FailuresStopTheCopy) {
  PiecewiseBody failing{{"abc", "def", "ghi"}, 1};
  std::string copied;
  auto append = [&](const char* d, uint32_t n) { return copied.append(d, n), true; };
  EXPECT_EQ(CopyBodyInChunks(failing.Reader(), append), BodyCopy::ReadFailed);
  EXPECT_EQ(copied, "abc");

  PiecewiseBody body{{"abc", "def"}};
  int writes = 0;
  EXPECT_EQ(CopyBodyInChunks(body.Reader(), [&](const char*, uint32_t) { return ++writes < 1; }),
            BodyCopy::WriteFailed);
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(body.reads, 1u);  // nothing more is read once the file refuses a chunk
}

TEST(HttpBody, RangeAsksFromExistingSizeToAnnouncedLength) {
  EXPECT_EQ(RangeHeader(0, 52428800), L"Range: bytes=0-52428800");
  EXPECT_EQ(RangeHeader(1000, 5000), L"Range: bytes=1000-5000");
}

TEST(HttpBody, CompleteOnlyWhenBothPartsMakeTheAnnouncedLength) {
  EXPECT_TRUE(IsDownloadComplete(0, 5000, 5000));
  EXPECT_TRUE(IsDownloadComplete(1000, 4000, 5000));
  EXPECT_FALSE(IsDownloadComplete(0, 2000, 5000));   // closed early
  EXPECT_FALSE(IsDownloadComplete(1000, 5000, 5000));  // server ignored the range
  EXPECT_FALSE(IsDownloadComplete(0, 0, -1));
  // More than 4 GiB received must not wrap round to the announced length.
  EXPECT_FALSE(IsDownloadComplete(0, (uint64_t{1} << 32) + 5000, 5000));
}

}  // namespace
}  // namespace quarrow
