#include "update/ZipTestArchive.h"

#include <zlib.h>

namespace quarrow::testing {
namespace {

void Put16(std::string* out, uint32_t v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string* out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::string RawDeflate(const std::string& data) {
  z_stream stream{};
  deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

}  // namespace

std::string BuildTestZip(const std::vector<TestZipItem>& items) {
  std::string archive, directory;
  for (const TestZipItem& item : items) {
    const std::string packed = item.deflate ? RawDeflate(item.data) : item.data;
    const uint32_t method = item.methodOverride >= 0 ? item.methodOverride : (item.deflate ? 8 : 0);
    const uint32_t crc = item.declaredCrc >= 0
                             ? static_cast<uint32_t>(item.declaredCrc)
                             : static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(item.data.data()),
                                                           static_cast<uInt>(item.data.size())));
    const uint32_t compressed =
        item.declaredCompressed >= 0 ? static_cast<uint32_t>(item.declaredCompressed) : packed.size();
    const uint32_t uncompressed =
        item.declaredUncompressed >= 0 ? static_cast<uint32_t>(item.declaredUncompressed) : item.data.size();
    const uint32_t offset = static_cast<uint32_t>(archive.size());

    Put32(&archive, item.badLocalSignature ? 0x04034b51 : 0x04034b50);
    Put16(&archive, 20);
    Put16(&archive, item.flags);
    Put16(&archive, method);
    Put32(&archive, item.dosDateTime);
    Put32(&archive, crc);
    Put32(&archive, compressed);
    Put32(&archive, uncompressed);
    Put16(&archive, item.name.size());
    Put16(&archive, item.localExtra.size());
    archive += item.name + item.localExtra + packed;

    Put32(&directory, 0x02014b50);
    Put16(&directory, item.versionMadeBy);
    Put16(&directory, 20);
    Put16(&directory, item.flags);
    Put16(&directory, method);
    Put32(&directory, item.dosDateTime);
    Put32(&directory, crc);
    Put32(&directory, compressed);
    Put32(&directory, uncompressed);
    Put16(&directory, item.name.size());
    Put16(&directory, 0);  // central extra
    Put16(&directory, 0);  // comment
    Put16(&directory, 0);  // disk
    Put16(&directory, 0);  // internal attributes
    Put32(&directory, item.externalAttributes);
    Put32(&directory, offset);
    directory += item.name;
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(archive.size());
  archive += directory;
  Put32(&archive, 0x06054b50);
  Put16(&archive, 0);
  Put16(&archive, 0);
  Put16(&archive, items.size());
  Put16(&archive, items.size());
  Put32(&archive, directory.size());
  Put32(&archive, directoryOffset);
  Put16(&archive, 0);
  return archive;
}

std::string UnixTimeExtra(uint8_t flags, const std::vector<int32_t>& times) {
  std::string block;
  Put16(&block, 0x5455);
  Put16(&block, 1 + 4 * times.size());
  block.push_back(static_cast<char>(flags));
  for (int32_t t : times) Put32(&block, static_cast<uint32_t>(t));
  return block;
}

}  // namespace quarrow::testing
