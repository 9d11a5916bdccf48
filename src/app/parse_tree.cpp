#include "parse_tree.h"

#include <cstring>

#include "strfuncs.h"

namespace lorvan {

const char* empty_cat_str = "()";

namespace {

constexpr std::size_t kTreeArenaBlock = 512;

bool needs_quotes(const char* word) { return std::strpbrk(word, " \t\n()") != nullptr; }

bool is_top(const ParseNode* node) { return node->parent() == nullptr; }

const char* parent_label(const ParseNode* node) {
  const ParseNode* parent = node->parent();
  if (parent == nullptr || is_top(parent) || parent->label() == nullptr) return "*";
  return parent->label();
}

// Root column: "~" when the word equals the root ignoring case.
const char* root_column(const ParseNode* node) {
  const char* root = node->root();
  if (root == nullptr) return "";
  if (node->word() != nullptr && strcasecmp(node->word(), root) == 0) return "~";
  return root;
}

const char* or_empty(const char* s) { return s != nullptr ? s : ""; }

// Each feature as " (name value)".
void write_features(std::ostream& out, const std::vector<FeatureValue>& features) {
  for (const FeatureValue& f : features) out << " (" << f.name << ' ' << f.value << ')';
}

}  // namespace

// ---- ParseNode ----

ParseNode::ParseNode(ParseTree* tree) : tree_(tree) {}

const char* ParseNode::copy(const char* text) const {
  return text != nullptr ? tree_->get_str(text) : nullptr;
}

void ParseNode::add_feature(const char* name, const char* value) {
  features_.push_back({name, copy(or_empty(value))});
}

void ParseNode::ord_insert(std::unique_ptr<ParseNode> child) {
  child->parent_ = this;
  auto pos = children_.begin();
  while (pos != children_.end() && (*pos)->head_pos() <= child->head_pos()) ++pos;
  children_.insert(pos, std::move(child));
}

void ParseNode::print_root(std::ostream& out) const {
  const bool leaf = children_.empty();
  if (leaf) out << '(';
  if (category_ != nullptr) out << category_;
  if (word_ != nullptr) {
    if (needs_quotes(word_)) {
      out << " \"" << word_ << '"';
    } else if (std::strcmp(word_, "\"") == 0) {
      out << " \"\\\"\"";
    } else {
      out << ' ' << word_;
    }
  }
  if (root_ != nullptr) out << " (root " << root_ << ')';
  if (relation_ != nullptr) out << " (relation " << relation_ << ')';
  write_features(out, features_);
  if (leaf) out << ')';
}

// ---- ParseTree ----

ParseTree::ParseTree() : strings_(kTreeArenaBlock) {}

ParseTree::~ParseTree() = default;

void ParseTree::reset() {
  root_.reset();
  strings_.clear();
}

std::unique_ptr<ParseNode> ParseTree::root(std::unique_ptr<ParseNode> node) {
  std::swap(root_, node);
  return node;
}

const char* ParseTree::get_str(const char* a, const char* b, const char* c, const char* d,
                               const char* e) {
  return strings_.concat(a, b, c, d, e);
}

void ParseTree::print(std::ostream& out) const {
  if (root_ != nullptr) print_parse_node(out, root_.get(), 0);
  out << '\n';
}

void print_parse_node(std::ostream& out, const ParseNode* node, int depth) {
  out << '\n';
  for (int i = 0; i < depth; ++i) out << "  ";
  const bool has_children = !node->children().empty();
  if (has_children) out << '(';
  node->print_root(out);
  for (const auto& child : node->children()) print_parse_node(out, child.get(), depth + 1);
  if (has_children) out << ')';
}

// ---- Printers ----

void print_dependency_node(const ParseNode* node, std::ostream& out) {
  if (is_top(node)) return;
  const char* word = node->word();
  if (word == nullptr || *word == '\0') word = empty_cat_str;
  const char* category = node->category() != nullptr ? node->category() : "U";
  out << or_empty(node->label()) << '\t' << word << '\t' << root_column(node) << '\t'
      << category << '\t' << parent_label(node) << '\t' << or_empty(node->relation());
  if (node->parent()->root() != nullptr) out << "\t(gov " << node->parent()->root() << ')';
  if (node->antecedent() != nullptr) {
    out << "\t(antecedent " << or_empty(node->antecedent()->label()) << ')';
  }
  if (!node->features().empty()) {
    out << "\t(atts";
    write_features(out, node->features());
    out << ')';
  }
  out << '\n';
}

namespace {

void list_dependencies(const ParseNode* node, std::ostream& out) {
  bool own_line_written = false;
  for (const auto& child : node->children()) {
    if (!own_line_written && child->head_pos() >= node->head_pos()) {
      print_dependency_node(node, out);
      own_line_written = true;
    }
    list_dependencies(child.get(), out);
  }
  if (!own_line_written) print_dependency_node(node, out);
}

}  // namespace

void print_dependency_tree(const ParseNode* node, std::ostream& out) {
  if (node == nullptr) return;
  const bool top = is_top(node);
  if (top) out << "(\n";
  list_dependencies(node, out);
  if (top) out << ')';
}

void print_triples(const ParseNode* node, std::ostream& out) {
  if (node == nullptr) return;
  const ParseNode* gov = node->parent();
  if (node->relation() != nullptr && gov != nullptr && gov->category() != nullptr &&
      gov->root() != nullptr && node->category() != nullptr && node->root() != nullptr) {
    out << gov->root() << '\t' << gov->category() << ':' << node->relation() << ':'
        << node->category() << '\t' << node->root() << '\n';
  }
  for (const auto& child : node->children()) print_triples(child.get(), out);
}

}  // namespace lorvan
