// File-name patterns: "*" any run of characters, "?" exactly one, without regard to case;
// a pattern list separates patterns with ";". "*.*" matches every name, dotless ones too.
#pragma once

#include <string>
#include <string_view>

namespace orvex {

bool matchesPattern(std::string_view name, std::string_view pattern);
bool matchesPatternList(std::string_view name, std::string_view patternList);

}  // namespace orvex
