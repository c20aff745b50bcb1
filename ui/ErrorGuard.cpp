#include "ui/ErrorGuard.h"

#include "model/GlyphbookError.h"

void TErrorGuard::Run(const std::function<void()> &Handler) const
{
    try {
        Handler();
    } catch (const EGlyphbookError &error) {
        FDialogs.ShowError(error.message());
    } catch (const std::exception &error) {
        FDialogs.ShowError(QString::fromLocal8Bit(error.what()));
    }
}
