// The search command: the handlers of the search button's click and the query field's key-down.
#pragma once

#include <cstdint>

namespace ulmora {

// Opens the chosen service's URL for the query in the field; does nothing when no service is
// chosen.
void SearchButtonClicked();

// Runs the search for Enter (key code 13), whatever the modifiers. Returns no value, so the key
// always goes on to the field.
void QueryKeyPressed(std::int32_t keyCode, std::int32_t modifiers);

}  // namespace ulmora
