#include "TestCertificates.h"

#include "ChildProcess.h"

#include <stdexcept>

#ifndef TARVO_CERTIFICATE_SCRIPT
#error "TARVO_CERTIFICATE_SCRIPT must name make_certificates.py"
#endif

namespace tarvo::test {

TestCertificates::TestCertificates()
{
    std::string output;
    if (RunCommand({"/usr/bin/python3", "-I", TARVO_CERTIFICATE_SCRIPT, dir_.path()}, "", &output) != 0)
        throw std::runtime_error("cannot make the test certificates: " + output);
}

} // namespace tarvo::test
