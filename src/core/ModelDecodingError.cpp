#include "core/ModelDecodingError.h"

#include <utility>

namespace tallybrook {

ModelDecodingError::ModelDecodingError(QString detail)
    : detail_(std::move(detail))
    , utf8_(detail_.toUtf8()) {}

} // namespace tallybrook
