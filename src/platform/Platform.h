#pragma once

#include <QtGlobal>

#include <memory>
#include <mutex>
#include <typeindex>
#include <unordered_map>

namespace nolvea {

// The registry of host services: one implementation of each interface in src/platform.
// `main` installs the Linux ones at start; tests install fakes. The logic asks for an
// interface by type: `Platform::get<Clipboard>()`.
class Platform {
public:
    template <typename Interface> static void install(std::shared_ptr<Interface> impl) {
        auto& r = registry();
        std::lock_guard lock(r.mutex);
        r.items[std::type_index(typeid(Interface))] = std::static_pointer_cast<void>(impl);
    }

    template <typename Interface> static void uninstall() {
        auto& r = registry();
        std::lock_guard lock(r.mutex);
        r.items.erase(std::type_index(typeid(Interface)));
    }

    // The installed implementation, or nullptr when none is.
    template <typename Interface> static std::shared_ptr<Interface> find() {
        auto& r = registry();
        std::lock_guard lock(r.mutex);
        auto it = r.items.find(std::type_index(typeid(Interface)));
        if (it == r.items.end()) return nullptr;
        return std::static_pointer_cast<Interface>(it->second);
    }

    // The installed implementation; a missing one is a wiring fault of the program.
    template <typename Interface> static Interface& get() {
        auto p = find<Interface>();
        if (!p) qFatal("Platform: no implementation installed for %s", typeid(Interface).name());
        return *p;
    }

    // Removes everything (tests).
    static void reset() {
        auto& r = registry();
        std::lock_guard lock(r.mutex);
        r.items.clear();
    }

private:
    struct Registry {
        std::mutex mutex;
        std::unordered_map<std::type_index, std::shared_ptr<void>> items;
    };
    static Registry& registry();
};

} // namespace nolvea
