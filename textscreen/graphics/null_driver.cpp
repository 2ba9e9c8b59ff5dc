#include "graphics/null_driver.h"

namespace textscreen::detail {

NullDriver& null_driver() {
  static NullDriver driver;
  return driver;
}

}  // namespace textscreen::detail
