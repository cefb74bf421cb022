#include "HtmlOutputBuffer.h"

#include "platform/SafeFileWriter.h"

#include <algorithm>

char *HtmlOutputBuffer::Reserve(std::size_t length)
{
    const std::size_t needed = m_used + length;
    if (needed > std::size_t(m_data.size())) {
        // Doubling keeps the copying linear however large a block grows.
        const std::size_t grown = std::max<std::size_t>({needed, std::size_t(m_data.size()) * 2, 64 * 1024});
        m_data.resize(qsizetype(grown));
    }
    return m_data.data() + m_used;
}

bool HtmlOutputBuffer::WriteTo(SafeFileWriter &file)
{
    const qint64 length = qint64(m_used);
    m_used = 0;
    return file.Write(m_data.constData(), length);
}
