#include "data/Topics.h"

#include <cstring>
#include <iterator>

namespace {

const Topics::Topic kTopics[] = {
#define KEVRAN_TOPIC_ROW(button, code, caption) {#button, code, caption},
    KEVRAN_TOPICS(KEVRAN_TOPIC_ROW)
#undef KEVRAN_TOPIC_ROW
};
static_assert(std::size(kTopics) == Topics::Count);

} // namespace

const Topics::Topic *Topics::begin()
{
    return std::begin(kTopics);
}

const Topics::Topic *Topics::end()
{
    return std::end(kTopics);
}

const Topics::Topic *Topics::find(const char *button)
{
    for (const Topic &topic : kTopics) {
        if (std::strcmp(topic.button, button) == 0)
            return &topic;
    }
    return nullptr;
}
