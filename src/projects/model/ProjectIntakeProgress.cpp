#include "projects/model/ProjectIntakeProgress.h"

namespace halvex {

ProjectIntakeProgress ProjectIntakeProgress::of(ProjectIntakePhase phase, bool hasWebsite)
{
    ProjectIntakeProgress p;
    if (phase == ProjectIntakePhase::none)
        return p;
    p.duration = QStringLiteral("Usually under a minute");
    if (phase == ProjectIntakePhase::questions) {
        p.source = hasWebsite ? QStringLiteral("Public website + your description")
                              : QStringLiteral("Your description only");
        p.headline = QStringLiteral("Preparing focused questions");
        p.detail = QStringLiteral("Finding the few decisions that still need your input.");
        if (hasWebsite)
            p.checklist = {{QStringLiteral("Read the public website"),
                            QStringLiteral("Up to four relevant pages, such as About, Product, Services, or Pricing.")},
                           {QStringLiteral("Separate facts from gaps"), {}},
                           {QStringLiteral("Prepare focused questions"),
                            QStringLiteral("Only 4–6 decisions the website and your description do not answer.")}};
        else
            p.checklist = {{QStringLiteral("Read your description"),
                            QStringLiteral("Use only the context you provided — no external assumptions.")},
                           {QStringLiteral("Map the project profile"), {}},
                           {QStringLiteral("Prepare focused questions"),
                            QStringLiteral("Only 4–6 decisions that materially improve the project profile.")}};
    } else {
        p.source = hasWebsite ? QStringLiteral("Website + description + your answers")
                              : QStringLiteral("Description + your answers");
        p.headline = QStringLiteral("Writing your project profile");
        p.detail = QStringLiteral("Turning the evidence and your answers into an editable draft.");
        p.checklist
            = {{QStringLiteral("Combine your sources"), {}},
               {QStringLiteral("Draft five profile sections"),
                QStringLiteral("Description, Product & audience, Desired result, Competitors, and Constraints.")},
               {QStringLiteral("Mark uncertain fields"), {}}};
    }
    p.status = p.source + QStringLiteral(". Nothing is created until you confirm Review.");
    return p;
}

} // namespace halvex
