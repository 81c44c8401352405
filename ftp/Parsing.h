// Pure text handling of the protocol's replies: PWD, passive mode, FEAT.
#pragma once

#include <string>
#include <string_view>

namespace qorftp {

// The directory of a 257 reply: the text between the double quotes, where a doubled quote
// stands for one quote character of the name (RFC 959, appendix II).
std::string ParsePwdReply(const std::string& reply);

// GetPassive's text: from the first digit at or after the fifth character to the last digit.
std::string PassiveAddressText(const std::string& reply);

// The six numbers of a PASV reply's address text; false when they are not six bytes.
bool ParsePasvNumbers(const std::string& text, unsigned char host[4], unsigned& port);

// The port of a 229 reply "(|||port|)".
bool ParseEpsvPort(const std::string& reply, unsigned& port);

// Whether a FEAT reply (all its lines) names `feature`: the first word of a feature line, which
// begins with a blank (RFC 2389), in any case.
bool HasFeature(const std::string& reply, std::string_view feature);

} // namespace qorftp
