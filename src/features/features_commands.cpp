#include "features/features_commands.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "command/cmd_interpreter.h"
#include "command/irslist.h"
#include "command/named_obj.h"
#include "features/alias_file.h"
#include "features/att_interpreter_list.h"
#include "features/attkinds.h"
#include "features/attvec.h"
#include "features/binatt.h"
#include "searchpath.h"

namespace lorvan {
namespace {

constexpr const char* kListType = "AttInterpreterList";

// Commands nest: def-att-list runs (defattribute ...) and alias runs
// (make-av ...) through the interpreter, which hands back an untyped
// pointer.  The nested result is taken only when it is the object the
// expected command just made, so a different command in that place cannot
// be mistaken for a description or a vector.
AttInterpreter* last_description = nullptr;
AttVec* last_vector = nullptr;

AttInterpreterList* named_list(const char* name) {
  return static_cast<AttInterpreterList*>(get_named_obj(name, kListType, 1));
}

void* interpret_nested(IRSlist* expression) {
  if (expression == nullptr || !expression->is_list()) return nullptr;
  return CmdInterpreter::the_interpreter->interpret_one_cmd(expression);
}

// (defattribute <att-name> <att-type> <facets>...)
void* make_attribute_interpreter(IRSlist* args) {
  const char* name = args->get_val();
  const char* kind = name != nullptr ? args->get_val() : nullptr;
  if (name == nullptr || kind == nullptr) {
    std::cerr << "Missing argument: (defattribute <name> <type>)\n";
    return nullptr;
  }
  AttInterpreter* att = AttInterpreter::get_attitp(kind);
  if (att == nullptr) return nullptr;
  att->name(name);
  att->init(args);
  last_description = att;
  return att;
}

// (def-att-list <type> (defattribute ...)...)
void* make_attribute_interpreter_list(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) {
    std::cerr << "Missing arguments in (def-att-list <name> ...)\n";
    return nullptr;
  }
  auto* list = static_cast<AttInterpreterList*>(get_named_obj(name, kListType, 0));
  if (list == nullptr) {
    int count = 0;
    for (IRSlist* e = args->first(); e != nullptr; e = e->next()) ++count;
    list = new AttInterpreterList(name, count);
  }
  while (IRSlist* first = args->remove_first()) {
    std::unique_ptr<IRSlist> definition(first);
    last_description = nullptr;
    void* made = interpret_nested(definition.get());
    if (made != nullptr && made == last_description) list->add(last_description);
    last_description = nullptr;
  }
  AttVec::the_itp_list = list;
  return list;
}

// (make-av [type] <attvec>)
void* make_av(IRSlist* args) {
  if (args->first() == nullptr) return nullptr;
  const AttInterpreterList* type = AttVec::the_itp_list;
  if (!args->first()->is_list() && args->first()->val() != nullptr) {
    type = named_list(args->get_val());
    if (type == nullptr) return nullptr;
  }
  if (type == nullptr) {
    std::cerr << "Creating AttVec with nil Interpreter\n";
    return nullptr;
  }
  std::unique_ptr<IRSlist> text(args->remove_first());
  last_vector = new AttVec(text.get(), type);
  return last_vector;
}

// (alias name [att-type] (ATTRIBUTES))
void* define_alias(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr || args->first() == nullptr) return nullptr;
  const std::string alias_name = name;
  last_vector = nullptr;
  void* made = interpret_nested(args->first());
  if (made == nullptr) return nullptr;
  if (made != last_vector) {
    std::cerr << "alias " << alias_name << ": the expression does not make an attribute value vector\n";
    return nullptr;
  }
  std::unique_ptr<AttVec> vec(last_vector);
  last_vector = nullptr;
  // Types are mutable objects; vectors keep them as const only because they
  // never change them.
  auto* type = const_cast<AttInterpreterList*>(vec->interpreter_list());
  return type->alias(alias_name.c_str(), std::move(vec));
}

// The type named by the optional argument after a file name, else the
// current one; null with a message when there is none.
AttInterpreterList* alias_file_type(IRSlist* args, const char* command) {
  const char* name = args->get_val();
  AttInterpreterList* type = name != nullptr ? named_list(name) : AttVec::the_itp_list;
  if (type == nullptr && name == nullptr) {
    std::cerr << command << ": there is no current attribute-vector type\n";
  }
  return type;
}

// (load-aliases file [type])
void* load_aliases_command(IRSlist* args) {
  const char* file = args->get_val();
  if (file == nullptr) return nullptr;
  const std::string base = file;
  const std::string dat = base + ".dat";
  if (const char* path = locate_file(dat.c_str())) {
    const std::string found = path;
    AttInterpreterList* type = alias_file_type(args, "load-aliases");
    std::ifstream in(found, std::ios::binary);
    if (type != nullptr && in) load_aliases(*type, in, found.c_str());
    return nullptr;
  }
  const std::string lsp = base + ".lsp";
  if (locate_file(lsp.c_str()) != nullptr) {
    if (auto in = open_file_on_search_path(lsp.c_str())) CmdInterpreter::the_interpreter->interpret(*in);
  }
  return nullptr;
}

// (save-aliases file [type])
void* save_aliases_command(IRSlist* args) {
  const char* file = args->get_val();
  if (file == nullptr) return nullptr;
  const std::string path = file;
  const AttInterpreterList* type = alias_file_type(args, "save-aliases");
  if (type == nullptr) return nullptr;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out || !save_aliases(*type, out)) {
    std::cerr << "save-aliases: cannot write the file '" << path << "'\n";
  }
  return nullptr;
}

// (clear-alias att-type)
void* clear_alias(IRSlist* args) {
  if (args->first() != nullptr && AttVec::the_itp_list != nullptr) {
    AttVec::the_itp_list->clear_aliases();
  }
  return nullptr;
}

// (print-alias "*" | name)
void* print_alias(IRSlist* args) {
  const char* name = args->get_val();
  if (name == nullptr) return nullptr;
  const AttInterpreterList* type = AttVec::the_itp_list;
  if (std::string_view(name) == "*") {
    if (type == nullptr) return nullptr;
    for (const AttInterpreterList::Alias* alias : type->alias_order()) {
      std::cout << alias->name << ": ";
      alias->vec->print(std::cout, nullptr, 0);
      std::cout << '\n';
    }
    return nullptr;
  }
  if (const AttVec* vec = type != nullptr ? type->search_alias(name) : nullptr) {
    vec->print(std::cout, nullptr, 0);
    std::cout << '\n';
  } else {
    std::cout << name << " is not an alias";
  }
  return nullptr;
}

// (set-att-itp-list att-type)
void* set_att_itp_list(IRSlist* args) {
  if (const char* name = args->get_val()) AttVec::the_itp_list = named_list(name);
  return nullptr;
}

// (def-att-set att-type name att1 att2 ...)
void* def_att_set(IRSlist* args) {
  if (args->first() == nullptr) {
    std::cerr << "(def-att-set type-of-attvec name att1 att2 ... attn)\n";
    return nullptr;
  }
  const char* type_name = args->get_val();
  AttInterpreterList* type = type_name != nullptr ? named_list(type_name) : nullptr;
  if (type == nullptr) return nullptr;
  const char* set_name = args->get_val();
  if (set_name == nullptr) {
    std::cerr << "(def-att-set type-of-attvec name att1 att2 ... attn)\n";
    return nullptr;
  }
  const std::string name = set_name;
  auto set = std::make_unique<LBitSet>();
  type->make_att_set(*set, args);
  return type->att_set(name.c_str(), std::move(set));
}

}  // namespace

void attvec_init() {
  static bool done = false;
  if (done) return;
  done = true;
  binatt_init();
  attkinds_init();
  CmdInterpreter& interp = *CmdInterpreter::the_interpreter;
  interp.enter("defattribute", make_attribute_interpreter,
               "(defattribute <att-name> <att-type> <other-parameters>) ---define an attribute");
  interp.enter("def-att-list", make_attribute_interpreter_list,
               "(def-att-list <type-of-attvec>\n  (defattribute ....)\n  (defattribute ....)\n"
               "  ....\n  ) --- \ndefine a new type of attribute value vector");
  interp.enter("make-av", make_av,
               "(make-av [type-of-attvec] <attvec>) --- make an attribute value vector");
  interp.enter("alias", define_alias, "(alias name [att-type] (ATTRIBUTES)) define an alias");
  interp.enter("load-aliases", load_aliases_command,
               "(load-aliases file) load alias definitions from file.");
  interp.enter("save-aliases", save_aliases_command, "(save-aliases file) save the aliases in file.");
  interp.enter("clear-alias", clear_alias,
               "(clear-alias att-type) remove all the definitions of att-type");
  interp.enter("print-alias", print_alias, "(print-alias) print the aliases of the current att-type.");
  interp.enter("set-att-itp-list", set_att_itp_list,
               "(set-att-itp-list att-type) set the current att-type.");
  interp.enter("def-att-set", def_att_set,
               "(def-att-set att-type name att1 att2 ...) define a set of attribute values and "
               "assign it a name.");
}

}  // namespace lorvan
