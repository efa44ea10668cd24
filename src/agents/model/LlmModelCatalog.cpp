#include "agents/model/LlmModelCatalog.h"

#include <initializer_list>
#include <utility>

namespace halvex {

namespace {

using Entries = std::initializer_list<std::pair<const char*, const char*>>;

LlmModelGroup byokGroup(const char* provider, const char* label, Entries models)
{
    LlmModelGroup group{QString::fromUtf8(provider), QString::fromUtf8(label), {}};
    for (const auto& [model, modelLabel] : models) {
        const QString name = QString::fromUtf8(model);
        group.models.append({group.id + u':' + name, group.id, name, QString::fromUtf8(modelLabel)});
    }
    return group;
}

} // namespace

const LlmModelGroup& LlmModelCatalog::payPerUse()
{
    static const LlmModelGroup group = [] {
        LlmModelGroup g{QStringLiteral("halvex"), QStringLiteral("Tessal (pay-per-use)"), {}};
        const Entries models = {
            {"halvex/mimo-v2.5-pro", "MiMo v2.5 Pro"},
            {"halvex/mimo-v2.5", "MiMo v2.5"},
            {"halvex/MiniMax-M3", "MiniMax M3"},
            {"gemini-3.5-flash", "Gemini 3.5 Flash"},
            {"gemini-3.1-flash-lite", "Gemini 3.1 Flash Lite"},
            {"gemini-2.5-pro", "Gemini 2.5 Pro"},
            {"gpt-5.5-mini", "GPT-5.5 Mini"},
            {"gpt-5.5-nano", "GPT-5.5 Nano"},
        };
        for (const auto& [model, label] : models) {
            const QString name = QString::fromUtf8(model);
            g.models.append({name, g.id, name, QString::fromUtf8(label)});
        }
        return g;
    }();
    return group;
}

const QList<LlmModelGroup>& LlmModelCatalog::byok()
{
    static const QList<LlmModelGroup> groups = {
        byokGroup("openai", "OpenAI · your key",
                  {{"gpt-5.5-mini", "GPT-5.5 Mini"},
                   {"gpt-5.5-nano", "GPT-5.5 Nano"},
                   {"gpt-5.4", "GPT-5.4"},
                   {"gpt-5.4-mini", "GPT-5.4 Mini"},
                   {"gpt-5", "GPT-5"},
                   {"gpt-4.1", "GPT-4.1"},
                   {"gpt-4o", "GPT-4o"},
                   {"o3", "o3"},
                   {"o4-mini", "o4-mini"}}),
        byokGroup("anthropic", "Anthropic · your key",
                  {{"claude-opus-4-7", "Claude Opus 4.7"},
                   {"claude-sonnet-4-6", "Claude Sonnet 4.6"},
                   {"claude-haiku-4-5", "Claude Haiku 4.5"}}),
        byokGroup("google", "Google · your key",
                  {{"gemini-2.5-pro", "Gemini 2.5 Pro"},
                   {"gemini-2.5-flash", "Gemini 2.5 Flash"},
                   {"gemini-2.0-flash", "Gemini 2.0 Flash"}}),
        byokGroup("openrouter", "OpenRouter · your key",
                  {{"openrouter/auto", "Auto (best)"},
                   {"anthropic/claude-opus-4.7", "Claude Opus 4.7"},
                   {"google/gemini-2.5-pro", "Gemini 2.5 Pro"},
                   {"deepseek/deepseek-v4-flash", "DeepSeek V4 Flash"},
                   {"minimax/minimax-m3", "MiniMax M3"},
                   {"xiaomi/mimo-v2.5-pro", "MiMo v2.5 Pro"}}),
        byokGroup("minimax", "MiniMax · your key",
                  {{"MiniMax-M3", "MiniMax M3"},
                   {"MiniMax-M2.7", "MiniMax M2.7"},
                   {"MiniMax-M2.7-highspeed", "MiniMax M2.7 Highspeed"},
                   {"MiniMax-M2", "MiniMax M2"}}),
    };
    return groups;
}

QList<LlmModelGroup> LlmModelCatalog::groups(const QSet<QString>& connectedProviders)
{
    QList<LlmModelGroup> out{payPerUse()};
    for (const LlmModelGroup& g : byok()) {
        if (connectedProviders.contains(g.id))
            out.append(g);
    }
    return out;
}

const QList<BrainModel>& LlmModelCatalog::allModels()
{
    static const QList<BrainModel> models = [] {
        QList<BrainModel> all = payPerUse().models;
        for (const LlmModelGroup& g : byok())
            all.append(g.models);
        return all;
    }();
    return models;
}

std::optional<BrainModel> BrainCatalog::model(const std::optional<QString>& id)
{
    if (!id)
        return std::nullopt;
    for (const BrainModel& m : LlmModelCatalog::allModels()) {
        if (m.id == *id)
            return m;
    }
    return std::nullopt;
}

} // namespace halvex
