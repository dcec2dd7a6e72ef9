#include "records/record_io.h"

RecordWriter::~RecordWriter() = default;

bool RecordWriter::BeginFile(const std::string& hostPath, const std::string& storedPath)
{
    stored_ = storedPath;
    host_ = hostPath;
    if (!file_.Begin(hostPath)) {
        NoteWriteFailure(stored_, host_, file_.Error());
        return false;
    }
    sink_ = true;
    Flush();
    return true;
}

void RecordWriter::Flush()
{
    if (!sink_ || data_.empty())
        return;
    file_.Write(data_.data(), data_.size());
    data_.clear();
}

bool RecordWriter::Commit()
{
    if (!sink_)
        return false;
    Flush();
    sink_ = false;
    if (file_.Commit())
        return true;
    NoteWriteFailure(stored_, host_, file_.Error());
    return false;
}
