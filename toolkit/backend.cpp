#include "toolkit/backend.h"

namespace MX::toolkit {

namespace {
Backend* currentBackend = nullptr;
}  // namespace

void setDefaultBackend(Backend* backend) noexcept { currentBackend = backend; }
Backend* defaultBackend() noexcept { return currentBackend; }

}  // namespace MX::toolkit
