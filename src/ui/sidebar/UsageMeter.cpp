#include "ui/sidebar/UsageMeter.h"

namespace halvex {

UsageMeter::UsageMeter(APIClient& api, QObject* parent) : QObject(parent), m_model(api)
{
    connect(&m_model, &SidebarUsageModel::changed, this, &UsageMeter::changed);
}

} // namespace halvex
