// A code template carried by a lexer definition (`TCodeTemplate`); the analysis does not use it.
#pragma once

#include <string>
#include <vector>

#include "syntax/SyntCollection.h"

namespace penwick {

class TCodeTemplate : public TSyntCollectionItem {
public:
  const char* KindName() const override { return "Code template"; }

  std::string Name;
  std::string Description;
  std::vector<std::string> Code;  // body lines
  bool Advanced = false;
};

}  // namespace penwick
