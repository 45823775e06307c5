#pragma once

#include "KRMLReportGenExport.h"
#include "DbField.h"

#include <QString>

namespace KRML_ReportGen {

// The rows of an executed statement, with a current-row cursor. A keyset
// recordset knows its true record count; fields are found by name (without
// regard to letter case) or by 0-based index.
class KRML_REPORTGEN_EXPORT Recordset
{
public:
    enum State { Closed = 0, Open = 1 };

    virtual ~Recordset() = default;

    virtual int state() const = 0;
    virtual void close() = 0;

    virtual bool isEOF() const = 0;
    virtual bool isBOF() const = 0;
    virtual int recordCount() const = 0;
    virtual void moveFirst() = 0;
    virtual void moveNext() = 0;
    virtual void moveLast() = 0;

    virtual int fieldCount() const = 0;
    // Name and type are known without a current row; a value needs one.
    virtual QString fieldName(int index) const = 0;
    virtual int fieldType(int index) const = 0;
    virtual DbField field(int index) const = 0;
    virtual DbField field(const QString &name) const = 0;
    // -1 when there is no such column.
    virtual int fieldIndex(const QString &name) const = 0;

    // Error numbers of the recordset itself.
    static constexpr qint32 NoCurrentRecord = 3021;
    static constexpr qint32 ItemNotFound = 3265;
    static constexpr qint32 ObjectClosed = 3704;
    static constexpr qint32 NotUpdatable = 3251;
};

} // namespace KRML_ReportGen
