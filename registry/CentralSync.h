#pragma once
#include "data/RecordSet.h"

#include <QString>
#include <functional>

namespace cad {

class TDM;

/// Copies a saved supplier to the network's central table, keyed by its CPF/CNPJ (the digits, and the
/// capitals of a CNPJ that has letters): updates the central row when there is one, adds one
/// otherwise. Never deletes, never reads back.
class CentralSync
{
public:
    /// CITYNAME gives the municipality name the screen's list shows for a code (empty when absent).
    using CityName = std::function<QString(const QVariant& code)>;
    /// Told how each copy whose required values were present ended: ERROR is empty when the
    /// central row was saved, else the failure's message (the failure is still thrown).
    using Outcome = std::function<void(const RecordSet& local, const QString& error)>;

    explicit CentralSync(TDM& dm) : m_dm(dm) {}
    void setCityName(CityName f) { m_cityName = std::move(f); }
    void setOutcome(Outcome f) { m_outcome = std::move(f); }

    /// Copies LOCAL's current row when every required value is present; silent otherwise.
    /// Failures (central server, a store code that is not a number) are thrown.
    void copy(const RecordSet& local);

    /// True when every value the central row needs is present.
    [[nodiscard]] static bool hasRequiredValues(const RecordSet& local);

private:
    TDM& m_dm;
    CityName m_cityName;
    Outcome m_outcome;
};

} // namespace cad
