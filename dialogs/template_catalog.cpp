#include <algorithm>
#include <vector>

#include "dialogs/template_parts.h"

namespace quillon {

const ControlTemplate* DialogTemplate::findControl(int controlId) const {
  const auto found = std::find_if(controls.begin(), controls.end(),
                                  [controlId](const ControlTemplate& c) { return c.id == controlId; });
  return found == controls.end() ? nullptr : &*found;
}

std::string_view DialogTemplate::title() const {
  const auto found = std::find_if(controls.begin(), controls.end(), [](const ControlTemplate& c) {
    return c.colour == ColourRole::Header;
  });
  return found == controls.end() ? std::string_view{} : found->text;
}

std::span<const DialogTemplate* const> AllDialogTemplates() {
  static const std::vector<const DialogTemplate*> all = [] {
    std::vector<const DialogTemplate*> list;
    for (const auto table : {PlainPageTemplates(), ProgressPageTemplates(), MainDialogTemplates()})
      list.insert(list.end(), table.begin(), table.end());
    return list;
  }();
  return all;
}

const DialogTemplate* FindDialogTemplate(int templateId) {
  const auto all = AllDialogTemplates();
  const auto found = std::find_if(all.begin(), all.end(), [templateId](const DialogTemplate* t) {
    return t->id == templateId;
  });
  return found == all.end() ? nullptr : *found;
}

} // namespace quillon
