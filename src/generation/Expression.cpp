#include "Expression.h"

#include "ExactTotal.h"

#include "ExpressionError.h"
#include "ExpressionFunctions.h"
#include "ExpressionParser.h"
#include "ExpressionScope.h"
#include "ExpressionTokenizer.h"
#include "ExpressionValues.h"
#include "Recordset.h"

namespace KRML_ReportGen {

namespace {

using F = ExpressionFunctions;

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

F::Id idOf(const ExpressionNode &node)
{
    return F::all()[node.function].id;
}

bool isAggregate(const ExpressionNode &node)
{
    return node.kind == ExpressionNode::Kind::Call && F::all()[node.function].aggregate;
}

// The statement the fields under node read, or empty; fields of a second
// statement are an error at their place.
void statementOf(const ExpressionNode &node, QString &statement)
{
    if (node.kind == ExpressionNode::Kind::Field) {
        if (statement.isEmpty())
            statement = node.statement;
        else if (!sameName(statement, node.statement))
            throw ExpressionError(ExpressionError::SyntaxError, node.position,
                                  QStringLiteral("an aggregate runs over the rows of one statement, not of \"%1\" and \"%2\"")
                                      .arg(statement, node.statement));
    }
    for (const auto &a : node.args)
        statementOf(*a, statement);
}

} // namespace

Expression::Expression(const QString &formula) : m_text(formula)
{
    const QString body = isExpression(formula) ? formula.mid(1) : formula;
    m_root = ExpressionParser::parse(ExpressionTokenizer::tokenize(body, isExpression(formula) ? 2 : 1));
    analyse(*m_root, false);
    // A running sum prints along the rows it sums.
    if (m_perRowAggregate && m_rowStatement.isEmpty())
        statementOf(*m_root, m_rowStatement);
}

Expression::~Expression() = default;
Expression::Expression(Expression &&) noexcept = default;
Expression &Expression::operator=(Expression &&) noexcept = default;

void Expression::analyse(const ExpressionNode &node, bool insideAggregate)
{
    if (node.kind == ExpressionNode::Kind::Field && !insideAggregate) {
        if (m_rowStatement.isEmpty())
            m_rowStatement = node.statement;
        else if (!sameName(m_rowStatement, node.statement))
            throw ExpressionError(ExpressionError::SyntaxError, node.position,
                                  QStringLiteral("a formula prints the rows of one statement, not of \"%1\" and \"%2\"; "
                                                 "an aggregate such as Sum may read another")
                                      .arg(m_rowStatement, node.statement));
    }
    if (isAggregate(node)) {
        auto &n = const_cast<ExpressionNode &>(node);
        statementOf(node, n.statement);
        if (idOf(node) == F::RunningSum)
            m_perRowAggregate = true;
        if (idOf(node) == F::PageSum)
            m_usesPage = true;
        for (const auto &a : node.args)
            analyse(*a, true);
        return;
    }
    for (const auto &a : node.args)
        analyse(*a, insideAggregate);
}

void Expression::bind(ExpressionScope &scope)
{
    m_totals.clear();
    m_running.clear();
    std::map<QString, std::unique_ptr<Recordset>> rows;
    bindNode(*m_root, scope, QString(), rows);
    if (m_perRowAggregate && m_rowStatement.isEmpty())
        m_rowStatement = scope.defaultStatement();
}

void Expression::bindNode(ExpressionNode &node, ExpressionScope &scope, const QString &aggregateStatement,
                          std::map<QString, std::unique_ptr<Recordset>> &rows)
{
    const auto open = [&](const QString &statement, int position) -> Recordset & {
        const QString key = statement.toLower();
        auto it = rows.find(key);
        if (it == rows.end()) {
            try {
                it = rows.emplace(key, scope.openRows(statement)).first;
            } catch (const ExpressionError &) {
                throw;
            } catch (const ReportError &e) {
                throw ExpressionError(e.number(), position, e.description());
            }
        }
        return *it->second;
    };
    if (node.kind == ExpressionNode::Kind::Field) {
        Recordset &rs = open(node.statement, node.position);
        node.column = rs.fieldIndex(node.field);
        if (node.column < 0)
            throw ExpressionError(ExpressionError::UnknownName, node.position,
                                  QStringLiteral("the statement \"%1\" has no field \"%2\"").arg(node.statement, node.field));
    }
    QString inner = aggregateStatement;
    if (isAggregate(node)) {
        if (node.statement.isEmpty())
            node.statement = m_rowStatement.isEmpty() ? scope.defaultStatement() : m_rowStatement;
        if (node.statement.isEmpty())
            throw ExpressionError(ExpressionError::UnknownName, node.position,
                                  QStringLiteral("there are no rows to run over: name a field such as {Statement.Field}"));
        open(node.statement, node.position);
        inner = node.statement;
    }
    for (auto &a : node.args)
        bindNode(*a, scope, inner, rows);
}

QVariant Expression::evaluate(ExpressionScope &scope)
{
    return eval(*m_root, scope, scope.currentRows());
}

QVariant Expression::eval(const ExpressionNode &node, ExpressionScope &scope, Recordset *rows)
{
    switch (node.kind) {
    case ExpressionNode::Kind::Literal:
        return node.value;
    case ExpressionNode::Kind::AllRows:
        return true;
    case ExpressionNode::Kind::Field: {
        if (!rows || rows->isEOF() || node.column < 0)
            throw ExpressionError(Recordset::NoCurrentRecord, node.position,
                                  QStringLiteral("there is no row of \"%1\" to read %2 from").arg(node.statement, node.field));
        const QVariant v = rows->field(node.column).value;
        return v.isNull() ? QVariant() : v;
    }
    case ExpressionNode::Kind::Unary: {
        const QVariant a = eval(*node.args[0], scope, rows);
        try {
            return ExpressionValues::unary(node.op, a);
        } catch (const ReportError &e) {
            throw ExpressionError(e.number(), node.position, e.description());
        }
    }
    case ExpressionNode::Kind::Binary: {
        const QVariant a = eval(*node.args[0], scope, rows);
        // And and Or need their right side only when the left does not decide.
        if ((node.op == ExpressionNode::Op::And || node.op == ExpressionNode::Op::Or) && !ExpressionValues::isNull(a)) {
            bool left = false;
            try {
                left = ExpressionValues::truth(a);
            } catch (const ReportError &e) {
                throw ExpressionError(e.number(), node.args[0]->position, e.description());
            }
            if (left == (node.op == ExpressionNode::Op::Or))
                return left;
        }
        const QVariant b = eval(*node.args[1], scope, rows);
        try {
            return ExpressionValues::binary(node.op, a, b);
        } catch (const ReportError &e) {
            throw ExpressionError(e.number(), node.position, e.description());
        }
    }
    case ExpressionNode::Kind::Call:
        break;
    }
    if (isAggregate(node))
        return aggregate(node, scope);
    const F::Id id = idOf(node);
    if (id == F::IIf) {
        const QVariant c = eval(*node.args[0], scope, rows);
        bool yes = false;
        try {
            yes = !ExpressionValues::isNull(c) && ExpressionValues::truth(c);
        } catch (const ReportError &e) {
            throw ExpressionError(e.number(), node.args[0]->position, e.description());
        }
        return eval(*node.args[yes ? 1 : 2], scope, rows);
    }
    QList<QVariant> args;
    args.reserve(int(node.args.size()));
    for (const auto &a : node.args)
        args.append(eval(*a, scope, rows));
    try {
        return F::call(id, args, scope.settings());
    } catch (const ReportError &e) {
        throw ExpressionError(e.number(), node.position, e.description());
    }
}

QVariant Expression::aggregate(const ExpressionNode &node, ExpressionScope &scope)
{
    const F::Id id = idOf(node);
    if (id != F::RunningSum && id != F::PageSum) {
        auto cached = m_totals.constFind(&node);
        if (cached != m_totals.cend())
            return *cached;
    }
    std::unique_ptr<Recordset> rows;
    try {
        rows = scope.openRows(node.statement);
    } catch (const ReportError &e) {
        throw ExpressionError(e.number(), node.position, e.description());
    }
    const ExpressionNode &arg = *node.args[0];
    // Numbers are totalled exactly while they have at most four decimals;
    // anything else (dates, text that reads as a number) adds as "+" does.
    bool numbers = true;
    ExactTotal total;
    const auto add = [&](QVariant &sum, const QVariant &v) {
        numbers = numbers && ExpressionValues::isNumber(v);
        if (numbers) {
            total.add(ExpressionValues::number(v));
            sum = total.value();
            return;
        }
        try {
            sum = ExpressionValues::isNull(sum) ? QVariant(ExpressionValues::number(v))
                                                : ExpressionValues::binary(ExpressionNode::Op::Add, sum, v);
        } catch (const ReportError &e) {
            throw ExpressionError(e.number(), arg.position, e.description());
        }
    };

    if (id == F::RunningSum) {
        auto it = m_running.find(&node);
        if (it == m_running.end()) {
            std::vector<QVariant> sums;
            QVariant sum;
            for (rows->moveFirst(); !rows->isEOF(); rows->moveNext()) {
                const QVariant v = eval(arg, scope, rows.get());
                if (!ExpressionValues::isNull(v))
                    add(sum, v);
                sums.push_back(sum);
            }
            it = m_running.insert(&node, std::move(sums));
        }
        const std::vector<QVariant> &sums = it.value();
        if (sums.empty())
            return QVariant();
        const int row = scope.currentRows() ? scope.currentRow() : int(sums.size()) - 1;
        return sums[size_t(std::clamp(row, 0, int(sums.size()) - 1))];
    }

    int first = 0;
    int end = -1;
    if (id == F::PageSum)
        std::tie(first, end) = scope.pageRows(node.statement);
    QVariant result;
    qint64 count = 0;
    int index = 0;
    for (rows->moveFirst(); !rows->isEOF() && (end < 0 || index < end); rows->moveNext(), ++index) {
        if (index < first)
            continue;
        if (arg.kind == ExpressionNode::Kind::AllRows) {
            ++count;
            continue;
        }
        const QVariant v = eval(arg, scope, rows.get());
        if (ExpressionValues::isNull(v))
            continue;
        ++count;
        switch (id) {
        case F::Sum:
        case F::Avg:
        case F::PageSum:
            add(result, v);
            break;
        case F::Min:
        case F::Max:
            try {
                if (ExpressionValues::isNull(result)
                    || (id == F::Min ? ExpressionValues::compare(v, result) < 0 : ExpressionValues::compare(v, result) > 0))
                    result = v;
            } catch (const ReportError &e) {
                throw ExpressionError(e.number(), arg.position, e.description());
            }
            break;
        default:
            break;
        }
    }
    if (id == F::Count)
        result = double(count);
    else if (id == F::Avg && count > 0)
        result = ExpressionValues::number(result) / double(count);
    if (id != F::PageSum)
        m_totals.insert(&node, result);
    return result;
}

} // namespace KRML_ReportGen
