#pragma once

// A process-wide service with a built-in default that the composition root or a test may
// replace for a while: the clock, the class journal. The caller keeps ownership of what it
// installs and installs nullptr before destroying it.
template <class Service, class Default>
class Replaceable {
public:
    Service& get() { return installed_ ? *installed_ : default_; }
    void install(Service* service) { installed_ = service; }

private:
    Default default_;
    Service* installed_ = nullptr;
};
