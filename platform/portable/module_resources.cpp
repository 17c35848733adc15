// FindResourceA, LoadResource and LockResource over the module's resource table.
#include "portable/module_resources.h"

#include <strings.h>

#include <cstdint>
#include <list>

#include "portable/win32.h"

namespace portable {
namespace {

struct Resource {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

std::list<Resource>& Table() {
  static std::list<Resource> table;
  return table;
}

// Integer identifiers travel in the name pointer's low word, as MAKEINTRESOURCE makes them.
bool IsIntegerResource(LPCSTR name) { return reinterpret_cast<std::uintptr_t>(name) < 0x10000; }

Resource* Find(const void* handle) {
  for (Resource& resource : Table()) {
    if (&resource == handle) return &resource;
  }
  return nullptr;
}

}  // namespace

void AddBitmapResource(const std::string& name, std::vector<std::uint8_t> packedDib) {
  Table().push_back({name, std::move(packedDib)});
}

const std::vector<std::uint8_t>* FindBitmapResource(const char* name) {
  auto* resource =
      static_cast<Resource*>(static_cast<void*>(FindResourceA(nullptr, name, RT_BITMAP)));
  return resource != nullptr ? &resource->bytes : nullptr;
}

void ClearModuleResources() { Table().clear(); }

}  // namespace portable

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  if ((module != nullptr && module != GetModuleHandleA(nullptr)) || type != RT_BITMAP ||
      portable::IsIntegerResource(name)) {
    return nullptr;
  }
  for (portable::Resource& resource : portable::Table()) {
    // Resource names compare without regard to case.
    if (strcasecmp(resource.name.c_str(), name) == 0) return reinterpret_cast<HRSRC>(&resource);
  }
  return nullptr;
}

HGLOBAL LoadResource(HMODULE /*module*/, HRSRC resource) {
  return portable::Find(resource) != nullptr ? reinterpret_cast<HGLOBAL>(resource) : nullptr;
}

LPVOID LockResource(HGLOBAL resource) {
  portable::Resource* found = portable::Find(resource);
  return found != nullptr ? found->bytes.data() : nullptr;
}
