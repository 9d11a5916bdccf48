// Named streams and raw file descriptors.
//
// Commands name their inputs and outputs by strings; the name "-" (in fact
// any name beginning with '-') or a missing name selects the standard
// stream.  Input files are looked up on the search path (searchpath.h);
// output files are opened on exactly the path given.
//
// Ownership: a stream returned by make_istream()/make_ostream() belongs to
// the caller, who gives it back with release_istream()/release_ostream();
// those leave the standard streams and null alone, so callers need not care
// which kind they got.
#ifndef LORVAN_INCLUDE_FILESTREAMS_H_
#define LORVAN_INCLUDE_FILESTREAMS_H_

#include <istream>
#include <ostream>

namespace lorvan {

// std::cin when `name` is null or begins with '-'; otherwise the file found
// by open_file_on_search_path() (which reports a failure), or null.
std::istream* make_istream(const char* name);

// std::cout when `name` is null or begins with '-'; otherwise a new output
// file stream on exactly `name`, truncated.  When it cannot be opened,
// prints "make_ostream: cannot open the file '<name>'" and returns null.
std::ostream* make_ostream(const char* name);

// Close and free a stream made above; standard streams and null are kept.
void release_istream(std::istream* s);
void release_ostream(std::ostream* s);

// Descriptor 0 for a null or empty path or exactly "-"; otherwise the file
// opened read-only (large files allowed), or a negative value on failure.
int openInputFile(const char* path);

// Descriptor 1 for a null or empty path or exactly "-"; otherwise the file
// opened read-write, created with mode 0644 when missing, and truncated.
// Negative on failure.
int openOutputFile(const char* path);

// Closes `fd`.
void closeFile(int fd);

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_FILESTREAMS_H_
