// The argument-type registry: small integer ids for the type names of the
// expression language ("char*", "int", "AttVec*", ...).
//
// A type name gets the next positive id on first mention and keeps it for
// the life of the process; names are case-insensitive and keep the spelling
// of their first mention.  Id -1 stands for the untyped pointer, "void*".
// The registry is process-wide and unguarded.
#ifndef LORVAN_COMMAND_ARG_TYPES_H_
#define LORVAN_COMMAND_ARG_TYPES_H_

#include "str2id.h"

namespace lorvan {

// The registry itself (a Str2Id of 101 buckets).  It is made on first use,
// so registration code may run during static initialisation.
Str2Id& arg_types();

// -1 for a null name; otherwise the id of `name`, assigned when new.
int arg_type_id(const char* name);

// "void*" for -1.  For 0 or another negative id prints "Unknown type id: "
// and the id on std::cerr and returns "".  Null for an id not yet assigned;
// otherwise the name as first registered.
const char* arg_type_name(int id);

// arg_type_name(id) for messages: "" where that gives null, so the result
// can always be written.
const char* arg_type_label(int id);

}  // namespace lorvan

#endif  // LORVAN_COMMAND_ARG_TYPES_H_
