#include "deptree/field_instantiator.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <utility>

#include "command/irslist.h"
#include "deptree/val_type.h"

namespace lorvan {

namespace {

// The number written in `text`, times 1000, truncated.  Decimal fractions
// such as 1.005 are a hair below themselves in binary, so the product is
// nudged away from zero before truncating to keep the digits written.
int thousandths(const char* text) {
  double x = std::strtod(text, nullptr) * 1000.0;
  x += x < 0 ? -1e-6 : 1e-6;
  return static_cast<int>(std::clamp(x, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

FieldInstantiator::FieldInstantiator(const FieldInstantiator& other)
    : id_exp_(other.id_exp_),
      value_exp_(other.value_exp_),
      weight_exp_(other.weight_exp_),
      id_(other.id_),
      weight_(other.weight_) {
  ValType* type = ValType::val_type(id_);
  value_ = type != nullptr && other.value_ != nullptr ? type->copy_val(other.value_) : other.value_;
}

FieldInstantiator& FieldInstantiator::operator=(const FieldInstantiator& other) {
  if (this != &other) *this = FieldInstantiator(other);
  return *this;
}

FieldInstantiator::FieldInstantiator(FieldInstantiator&& other) noexcept
    : id_exp_(std::move(other.id_exp_)),
      value_exp_(std::move(other.value_exp_)),
      weight_exp_(std::move(other.weight_exp_)),
      id_(other.id_),
      value_(std::exchange(other.value_, nullptr)),
      weight_(other.weight_) {}

FieldInstantiator& FieldInstantiator::operator=(FieldInstantiator&& other) noexcept {
  if (this != &other) {
    release_value();
    id_exp_ = std::move(other.id_exp_);
    value_exp_ = std::move(other.value_exp_);
    weight_exp_ = std::move(other.weight_exp_);
    id_ = other.id_;
    value_ = std::exchange(other.value_, nullptr);
    weight_ = other.weight_;
  }
  return *this;
}

FieldInstantiator::~FieldInstantiator() { release_value(); }

void FieldInstantiator::release_value() {
  if (value_ == nullptr) return;
  if (ValType* type = ValType::val_type(id_)) type->del(value_);
  value_ = nullptr;
}

void FieldInstantiator::init_array(std::vector<FieldInstantiator>& array, IRSlist* list) {
  if (list == nullptr) return;
  for (IRSlist* e = list->first(); e != nullptr; e = e->next()) {
    FieldInstantiator entry;
    if (entry.init(e)) array.push_back(std::move(entry));
  }
}

bool FieldInstantiator::init(IRSlist* element) {
  IRSlist* property = element->first();
  IRSlist* value = property != nullptr ? property->next() : nullptr;
  if (value == nullptr) return false;
  IRSlist* weight = value->next();
  // Compiling consumes a list's elements, so the forms are noted first.
  const bool named = !property->is_list();
  if (named) {
    id_ = ValType::get_id(property->val());
  } else {
    id_exp_ = LExp::get_exp(property);
  }
  if (value->is_list()) {
    value_exp_ = LExp::get_exp(value);
  } else if (named) {
    ValType* type = ValType::val_type(id_);
    if (type == nullptr) {
      std::cerr << "No value type is defined for the attribute "
                << (property->val() != nullptr ? property->val() : "()") << "\n";
      return false;
    }
    value_ = type->make_atom_val(value->val());
  }
  if (weight != nullptr) {
    if (weight->is_list()) {
      weight_exp_ = LExp::get_exp(weight);
    } else if (weight->val() != nullptr) {
      weight_ = thousandths(weight->val());
    }
  }
  return true;
}

PropVal FieldInstantiator::make(void* input, int type) const {
  const int id = id_exp_ ? static_cast<int>(value_to_int(id_exp_.eval(input, type))) : id_;
  void* value = value_exp_ ? value_exp_.eval(input, type) : value_;
  const long weight = weight_exp_ ? value_to_int(weight_exp_.eval(input, type)) : weight_;
  return PropVal(id, value, static_cast<float>(weight) / 1000.0f);
}

}  // namespace lorvan
