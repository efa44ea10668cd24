#pragma once
// Everything the chat screen needs to turn messages into rows and step groups into cards.
// All functions are pure apart from the shared presentation cache and may run on any thread.
#include "chat/grouping/ChatRenderBatchPlanner.h"
#include "chat/grouping/ChatRowBuilder.h"
#include "chat/grouping/ChatRowItem.h"
#include "chat/grouping/ChatTurnOrder.h"
#include "chat/grouping/GoalReviewRows.h"
#include "chat/grouping/ReasoningCardBuilder.h"
#include "chat/grouping/ReasoningStages.h"
#include "chat/grouping/StepClassification.h"
#include "chat/grouping/StepLifecycle.h"
