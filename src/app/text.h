#pragma once
// Texts are UTF-8 inside the program; only the Windows boundary sees UTF-16.
// Comparisons are byte-wise and "the first N characters" counts bytes.
#include <string>
#include <vector>

using Text = std::string;
using TextList = std::vector<Text>;
