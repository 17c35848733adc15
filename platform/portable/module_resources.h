// The program's module resource table. The game ships none; tests add bitmaps to it to see
// that a resource is found before a file of the same name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace portable {

// Adds a bitmap resource: a packed DIB (info header, colour table, bits) under `name`.
void AddBitmapResource(const std::string& name, std::vector<std::uint8_t> packedDib);
// The bytes of the named bitmap resource, or null when the module has none of that name.
const std::vector<std::uint8_t>* FindBitmapResource(const char* name);
// Empties the table again; handles to its resources become invalid.
void ClearModuleResources();

}  // namespace portable
