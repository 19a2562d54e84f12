// The desktop's association for the running user, in the folders the XDG
// base-directory variables and PATH name.
#include "platform/UserFolders.h"
#include "platform/posix/XdgFileAssociation.h"
#include "platform/posix/XdgSystemFolders.h"

namespace penwick {

std::unique_ptr<TFileAssociation> SystemFileAssociation() {
  const std::string data = UserDataFolder();
  const std::string config = UserConfigFolder();
  return std::make_unique<TXdgFileAssociation>(data, config, TXdgSystemFolders::FromEnvironment(),
                                               TXdgFileAssociation::SystemToolRunner(data, config));
}

}  // namespace penwick
