#pragma once

// Writes components to form descriptions by the class tables of
// framework/ComponentClass.h: the properties a class and its bases publish
// with a getter, bases first in the order stated, each when its storage
// rule says so. Events are not written. Window-free, like the reader.

#include <functional>
#include <vector>

#include "framework/Component.h"
#include "framework/ComponentClass.h"
#include "framework/FormParser.h"

// The properties of `c` in written order, after the storage rules, each
// value read once; none for a class without a table.
std::vector<TFormProperty> WriteProperties(TComponent* c);
// `c` alone, without nested components, named by its most derived
// registered class.
TFormNode WriteComponentNode(TComponent* c);
// Where a component nests in a description (a control's parent), or nullptr.
using TParentOf = std::function<TComponent*(TComponent*)>;
// `root` with the components it owns nested under it: each under the
// component `parentOf` names when that is `root` or owned by it, anything
// else directly under `root`. Raises EInvalidOperation for a class without
// a table.
TFormNode WriteComponent(TComponent* root, const TParentOf& parentOf = nullptr);
