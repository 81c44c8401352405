#pragma once

#include "TempDir.h"

#include <string>

namespace tarvo::test {

// Certificates made fresh for the TLS tests: a test CA (ca()) and, each as one PEM file with
// its key, a server certificate for 127.0.0.1, ::1 and localhost signed by it ("good"), an
// expired one ("expired"), one for another name ("othername") and a self-signed one
// ("selfsigned"). Throws std::runtime_error when they cannot be made.
class TestCertificates {
public:
    TestCertificates();
    std::string ca() const { return dir_.file("ca.pem"); }
    std::string server(const std::string& kind) const { return dir_.file(kind + ".pem"); }

private:
    TempDir dir_;
};

} // namespace tarvo::test
