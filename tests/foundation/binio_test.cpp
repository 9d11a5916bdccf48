// Byte order and round trips of the binary number readers and writers, on
// C++ streams and C FILEs alike.
#include "binio.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <sstream>
#include <string>

namespace lorvan {
namespace {

std::string file_bytes(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string out;
  for (int c; (c = std::fgetc(f)) != EOF;) out += static_cast<char>(c);
  return out;
}

// One writer call, made once on an ostringstream and once on a tmpfile().
struct WriteCase {
  const char* what;
  std::function<void(std::ostream&)> to_stream;
  std::function<void(std::FILE*)> to_file;
  std::string bytes;
};

template <class W>
WriteCase make_case(const char* what, W write, std::string bytes) {
  return {what, write, write, std::move(bytes)};
}

TEST(BinioTest, WritersStoreMostSignificantByteFirst) {
  using std::string_literals::operator""s;
  const WriteCase cases[] = {
      make_case("long", [](auto&& o) { write_long(o, 0x01020304); },
                "\x01\x02\x03\x04"s),
      make_case("negative long", [](auto&& o) { write_long(o, -2); },
                "\xff\xff\xff\xfe"s),
      make_case("int", [](auto&& o) { write_int(o, 0x7f000080); },
                "\x7f\x00\x00\x80"s),
      make_case("short", [](auto&& o) { write_short(o, -2); }, "\xff\xfe"s),
      make_case("unsigned long",
                [](auto&& o) { write_unsigned_long(o, 0xfedcba98u); },
                "\xfe\xdc\xba\x98"s),
      make_case("unsigned int",
                [](auto&& o) { write_unsigned_int(o, 258u); },
                "\x00\x00\x01\x02"s),
      make_case("unsigned short",
                [](auto&& o) { write_unsigned_short(o, 0xabcd); },
                "\xab\xcd"s),
      make_case("float", [](auto&& o) { write_float(o, 1.0f); },
                "\x3f\x80\x00\x00"s),
      make_case("char", [](auto&& o) { write_char(o, '\xe9'); }, "\xe9"s),
      make_case("long array",
                [](auto&& o) {
                  const std::int32_t v[] = {1, -1};
                  write_long_array(o, v, 2);
                },
                "\x00\x00\x00\x01\xff\xff\xff\xff"s),
      make_case("unsigned long array",
                [](auto&& o) {
                  const std::uint32_t v[] = {0x10203040u};
                  write_unsigned_long_array(o, v, 1);
                },
                "\x10\x20\x30\x40"s),
  };
  for (const WriteCase& c : cases) {
    std::ostringstream os;
    c.to_stream(os);
    EXPECT_EQ(os.str(), c.bytes) << c.what << " (stream)";
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    c.to_file(f);
    EXPECT_EQ(file_bytes(f), c.bytes) << c.what << " (FILE)";
    std::fclose(f);
  }
}

// Writes one record of every type with extreme values and reads it back.
template <class Out, class In>
void round_trip(Out out, std::function<In()> reopen) {
  using I32 = std::numeric_limits<std::int32_t>;
  const std::int32_t longs[] = {I32::min(), 0, I32::max()};
  const std::uint32_t ulongs[] = {0u, 0xffffffffu, 0x80000000u};
  write_long(out, I32::min());
  write_int(out, I32::max());
  write_short(out, std::numeric_limits<std::int16_t>::min());
  write_unsigned_long(out, 0xffffffffu);
  write_unsigned_int(out, 0x80000001u);
  write_unsigned_short(out, 0xffff);
  write_float(out, -3.25e-7f);
  write_char(out, '\0');
  write_long_array(out, longs, 3);
  write_unsigned_long_array(out, ulongs, 3);

  In in = reopen();
  EXPECT_EQ(read_long(in), I32::min());
  EXPECT_EQ(read_int(in), I32::max());
  EXPECT_EQ(read_short(in), std::numeric_limits<std::int16_t>::min());
  EXPECT_EQ(read_unsigned_long(in), 0xffffffffu);
  EXPECT_EQ(read_unsigned_int(in), 0x80000001u);
  EXPECT_EQ(read_unsigned_short(in), 0xffff);
  EXPECT_EQ(read_float(in), -3.25e-7f);
  EXPECT_EQ(read_char(in), '\0');
  std::int32_t longs_back[3];
  std::uint32_t ulongs_back[3];
  read_long_array(in, longs_back, 3);
  read_unsigned_long_array(in, ulongs_back, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(longs_back[i], longs[i]);
    EXPECT_EQ(ulongs_back[i], ulongs[i]);
  }
}

TEST(BinioTest, RoundTripOnStreams) {
  std::stringstream s;
  round_trip<std::ostream&, std::istream&>(
      s, std::function<std::istream&()>([&]() -> std::istream& { return s; }));
  EXPECT_EQ(s.str().size(), 4u + 4 + 2 + 4 + 4 + 2 + 4 + 1 + 12 + 12);
  read_char(s);
  EXPECT_TRUE(s.eof());  // nothing was left behind
}

TEST(BinioTest, RoundTripOnFiles) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  round_trip<std::FILE*, std::FILE*>(f, std::function<std::FILE*()>([&] {
                                       std::rewind(f);
                                       return f;
                                     }));
  std::fclose(f);
}

TEST(BinioTest, ShortReadSetsTheStreamState) {
  std::istringstream two_bytes(std::string("\x01\x02", 2));
  read_long(two_bytes);
  EXPECT_TRUE(two_bytes.fail());

  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  std::fputc(1, f);
  std::rewind(f);
  read_unsigned_short(f);
  EXPECT_TRUE(std::feof(f));
  std::fclose(f);
}

}  // namespace
}  // namespace lorvan
