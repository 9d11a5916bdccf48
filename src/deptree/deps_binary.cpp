#include "deptree/deps_binary.h"

#include <cstdlib>
#include <iostream>
#include <vector>

#include "byte_reader.h"
#include "deptree/dep_tree.h"
#include "deptree/deps.h"
#include "strbufs.h"
#include "strfuncs.h"

namespace lorvan {

namespace {

void push_str(StrBufs& out, const char* s) {
  out.push(s);
  out.push_char('\0');
}

void pack_node(const Deps& deps, const DepTree& node, StrBufs& out) {
  using namespace deps_flags;
  const int pos = node.pos();
  const bool single = node.low() == pos && node.high() == pos && pos >= -128 && pos < 128;
  const char* root = node.raw_root();
  const bool own_root = root != nullptr && strcasecmp(root, deps.word(pos)) != 0;
  unsigned char flags = single ? kSinglePos : 0;
  if (node.raw_cat() != nullptr) flags |= kCategory;
  if (node.rel() != nullptr) flags |= kRelation;
  if (own_root) flags |= kRoot;
  if (node.attvec() != nullptr) flags |= kAttVec;
  out.push_char(static_cast<char>(flags));
  if (single) {
    out.push_char(static_cast<char>(pos));
  } else {
    out.push_short(node.low());
    out.push_short(node.high());
    out.push_short(pos);
  }
  if ((flags & kCategory) != 0) push_str(out, node.raw_cat());
  if ((flags & kRelation) != 0) push_str(out, node.rel());
  if (own_root) push_str(out, root);
  if (node.attvec() != nullptr) node.attvec()->pack(out);
  out.push_short(node.length());
}

bool fail(const char* what) {
  std::cerr << "Deps::unpack: the binary form is " << what << "\n";
  return false;
}

DepTree* fail_node(const char* what) {
  fail(what);
  return nullptr;
}

// A 16-bit signed number.
int get_signed_short(ByteReader& in) { return static_cast<short>(in.get_unsigned_short()); }

// Reads one node (without its dependents) and its dependent count; null
// when the form ends early or is damaged (reported).
DepTree* unpack_node(Deps& deps, ByteReader& in, int& children) {
  using namespace deps_flags;
  const auto flags = static_cast<unsigned char>(in.get_char());
  if (!in.ok()) return fail_node("truncated");
  if ((flags & ~kAll) != 0) return fail_node("damaged");
  int low;
  int high;
  int pos;
  if ((flags & kSinglePos) != 0) {
    low = high = pos = static_cast<signed char>(in.get_char());
  } else {
    low = get_signed_short(in);
    high = get_signed_short(in);
    pos = get_signed_short(in);
  }
  const char* cat = (flags & kCategory) != 0 ? in.get_str() : nullptr;
  const char* rel = (flags & kRelation) != 0 ? in.get_str() : nullptr;
  const char* root = (flags & kRoot) != 0 ? in.get_str() : nullptr;
  if (!in.ok()) return fail_node("truncated");
  DepTree* node = deps.new_node();
  node->init(pos, rel);
  node->low(low);
  node->high(high);
  node->cat(cat);
  node->root(root);
  if ((flags & kAttVec) != 0) {
    if (deps.att_type() == nullptr) {
      std::cerr << "The type of AttVec in dependency tree is not defined\n";
      std::exit(1);
    }
    AttVec vec(deps.att_type());
    if (!vec.unpack(in)) return nullptr;  // AttVec::unpack has reported it
    node->attvec(&vec);
  }
  children = in.get_unsigned_short();
  if (!in.ok()) return fail_node("truncated");
  return node;
}

}  // namespace

void pack_deps(const Deps& deps, StrBufs& out) {
  const DepTree* top = deps.tree();
  if (top == nullptr) {
    out.push_short(0);
    return;
  }
  // Entry 0 is always there, so a tree over no words still has N = 1.
  const int n = deps.sentleng() > 0 ? deps.sentleng() : 1;
  out.push_short(n);
  push_str(out, "");
  for (int i = 1; i < n; ++i) push_str(out, deps.word(i));
  // Pre-order: each node is followed by its dependents.
  for (const DepTree* node = top; node != nullptr; node = next_in_subtree(node, top)) {
    pack_node(deps, *node, out);
  }
}

bool unpack_deps(Deps& deps, ByteReader& in) {
  const int n = in.get_unsigned_short();
  if (!in.ok()) return fail("truncated");
  if (n == 0) return true;
  if (n - 1 > Deps::kMaxWordPosition) return fail("damaged");
  deps.add_word(nullptr);  // entry 0
  for (int i = 0; i < n; ++i) {
    const char* word = in.get_str();
    if (word == nullptr) return fail("truncated");
    if (i == 0) continue;
    deps.add_space(" ");
    deps.add_word(word);
  }
  int children = 0;
  DepTree* top = unpack_node(deps, in, children);
  if (top == nullptr) return false;
  deps.tree(top);
  struct Pending {
    DepTree* node;
    int remaining;  // dependents still to read
  };
  std::vector<Pending> pending{{top, children}};
  while (!pending.empty()) {
    Pending& p = pending.back();
    if (p.remaining == 0) {
      pending.pop_back();
      continue;
    }
    --p.remaining;
    DepTree* head = p.node;
    DepTree* child = unpack_node(deps, in, children);
    if (child == nullptr) return false;
    head->append(child);
    child->after_head(after_head_flag(*head, *child));
    if (children > 0) pending.push_back({child, children});
  }
  return true;
}

}  // namespace lorvan
