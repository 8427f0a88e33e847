#pragma once

#include "ConstantesConstruction.h"
#include "Plateforme.h"

// The build's service account against a given platform address (a sandbox's).
inline AccesPlateforme accesSandbox(const QString& url)
{
    return {url,
            {QString::fromUtf8(Constantes::EmailService), QString::fromUtf8(Constantes::MotDePasseService),
             QString::fromUtf8(Constantes::CleEmetteur)}};
}
