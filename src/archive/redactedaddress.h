#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The address as logs and messages may show it: user name and password of its authority, the
// user and password segments of Xtream Codes paths (/live/, /timeshift/, /movie/, /series/, and
// user/pass/id with a numeric id) and username and password query values replaced by "***".
std::string RedactedArchiveAddress(std::string_view address);

} // namespace quorvel
