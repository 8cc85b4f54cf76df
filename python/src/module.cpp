// The extension module behind the valfmt package: resolved handles, the
// column loop with the interpreter lock released, status words and the
// list of built-in names.  The Python layer (valfmt/__init__.py) turns
// values into the arrays taken here and statuses into exceptions.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/status.h"
#include "runner.h"
#include "text_codec.h"
#include "valfmt.h"

// Locale names turn into record numbers through the locale database,
// which a build may not have yet: a weak reference is null then.
#pragma weak LocnameToID

namespace py = pybind11;
using valfmt_py::Resolved;

namespace {

constexpr int32_t kInformatKind = VF_KIND_INFORMAT;

// A 1-d numpy array of texts (unicode, bytes or objects) packed for the
// loop.  Objects may be str, bytes, bytearray, None or one of the
// `missing` sentinels; anything else is a TypeError naming its position.
valfmt_py::TextColumn pack_texts(const py::array &values, bool wide_ok,
                                 const py::tuple &missing) {
  valfmt_py::TextColumn col;
  const auto n = static_cast<std::size_t>(values.size());
  const char kind = values.dtype().kind();
  const auto item = static_cast<std::size_t>(values.itemsize());
  col.reserve(n, n * 8);
  const auto *base = static_cast<const uint8_t *>(values.data());
  if (kind == 'U') {
    const std::size_t chars = item / 4;
    for (std::size_t i = 0; i < n; ++i) {
      const auto *cp = reinterpret_cast<const uint32_t *>(base + i * item);
      std::size_t len = chars;
      while (len > 0 && cp[len - 1] == 0) --len;
      col.add_code_points(cp, len, wide_ok);
    }
    return col;
  }
  if (kind == 'S') {
    for (std::size_t i = 0; i < n; ++i) {
      const uint8_t *p = base + i * item;
      std::size_t len = item;
      while (len > 0 && p[len - 1] == 0) --len;
      col.add_bytes(p, len);
    }
    return col;
  }
  if (kind != 'O') throw py::type_error("expected texts (str or bytes)");
  for (std::size_t i = 0; i < n; ++i) {
    PyObject *o = *reinterpret_cast<PyObject *const *>(base + i * item);
    bool is_missing = o == Py_None;
    for (const auto &m : missing) is_missing = is_missing || o == m.ptr();
    if (!is_missing && PyFloat_Check(o))
      is_missing = std::isnan(PyFloat_AS_DOUBLE(o));
    if (is_missing) {
      col.add_missing();
    } else if (PyUnicode_Check(o)) {
      if (PyUnicode_READY(o) != 0) throw py::error_already_set();
      col.add_units(PyUnicode_DATA(o), static_cast<int>(PyUnicode_KIND(o)),
                    static_cast<std::size_t>(PyUnicode_GET_LENGTH(o)), wide_ok);
    } else if (PyBytes_Check(o)) {
      col.add_bytes(reinterpret_cast<const uint8_t *>(PyBytes_AS_STRING(o)),
                    static_cast<std::size_t>(PyBytes_GET_SIZE(o)));
    } else if (PyByteArray_Check(o)) {
      col.add_bytes(reinterpret_cast<const uint8_t *>(PyByteArray_AS_STRING(o)),
                    static_cast<std::size_t>(PyByteArray_GET_SIZE(o)));
    } else {
      throw py::type_error("value at position " + std::to_string(i) + " is " +
                           Py_TYPE(o)->tp_name + ", expected str or bytes");
    }
    if (col.length.back() < 0 ||
        static_cast<std::size_t>(col.length.back()) > INT32_MAX / 2)
      throw py::value_error("value at position " + std::to_string(i) +
                            " is too long");
  }
  return col;
}

py::array text_array(std::size_t n, std::size_t cap) {
  return py::array(py::dtype("U" + std::to_string(cap)),
                   std::vector<py::ssize_t>{static_cast<py::ssize_t>(n)});
}

// Runs the loop without the interpreter lock and builds the result array:
// float64 for a numeric informat, object (bytes) for byte results, str
// (numpy unicode, as wide as the longest result) otherwise.
py::tuple run_column(const Resolved &r, const valfmt_py::Inputs &in, int32_t w,
                     int32_t d, int32_t localeid, int threads) {
  const valfmt_py::CallShape shape{w, d, localeid};
  py::array_t<int32_t> status(static_cast<py::ssize_t>(in.n));
  valfmt_py::Results out;
  out.status = status.mutable_data();
  py::object result;
  if (r.stores_double()) {
    py::array_t<double> doubles(static_cast<py::ssize_t>(in.n));
    out.doubles = doubles.mutable_data();
    result = doubles;
  } else if (r.bytes_result()) {
    out.bytes = true;
    out.byte_values.resize(in.n);
  } else {
    std::size_t cap = static_cast<std::size_t>(w > 0 ? w : 1);
    if (w < 0 && in.texts != nullptr) {
      // texts read whole: rows as wide as the longest one that is read
      for (const int32_t len : in.texts->length)
        if (len > 0 && len <= r.attrs().maxw)
          cap = std::max(cap, static_cast<std::size_t>(len));
    }
    out.text_cap = cap;
    py::array text = text_array(in.n, out.text_cap);
    out.text = static_cast<uint32_t *>(text.mutable_data());
    result = text;
  }
  {
    py::gil_scoped_release release;
    valfmt_py::run(r, shape, in, &out, threads);
  }
  if (out.bytes) {
    py::list items;
    for (const auto &b : out.byte_values) items.append(py::bytes(b));
    result = items;
  } else if (!out.overflow.empty()) {
    std::size_t cap = out.text_cap;
    for (const auto &o : out.overflow) cap = std::max(cap, o.second.size());
    py::array wider = text_array(in.n, cap);
    auto *dst = static_cast<uint32_t *>(wider.mutable_data());
    std::fill(dst, dst + in.n * cap, 0u);
    for (std::size_t i = 0; i < in.n; ++i)
      std::memcpy(dst + i * cap, out.text + i * out.text_cap,
                  out.text_cap * sizeof(uint32_t));
    for (const auto &o : out.overflow)
      std::memcpy(dst + o.first * cap, o.second.data(),
                  o.second.size() * sizeof(uint32_t));
    result = wider;
  }
  return py::make_tuple(result, status);
}

py::object locale_id(const std::string &name) {
  if (&LocnameToID == nullptr) return py::none();
  int32_t id = 0;
  const int32_t st =
      LocnameToID(name.data(), static_cast<int32_t>(name.size()), &id);
  return st == 0 ? py::int_(id) : py::int_(0);
}

// Every built-in name of the name table (separators left out): name
// without '@', informat flag.
std::vector<std::pair<std::string, bool>> builtin_names() {
  const fmtposs_row *table = nullptr;
  int32_t count = 0;
  get_fmt_poss_table(&table, &count);
  std::vector<std::pair<std::string, bool>> names;
  for (int32_t i = 0; i < count; ++i) {
    const fmtposs_row &row = table[i];
    std::string name(row.fmtname, row.fmtnamelen);
    if (name.empty() || name[0] == '-') continue;
    const bool informat = name[0] == '@';
    names.emplace_back(informat ? name.substr(1) : name, informat);
  }
  return names;
}

} // namespace

PYBIND11_MODULE(_valfmt, m) {
  m.doc() = "valfmt extension module; use the valfmt package instead.";

  py::class_<Resolved, std::shared_ptr<Resolved>>(m, "Handle")
      .def(py::init([](const std::string &name, bool informat,
                       const py::bytes &catalog) {
             return std::make_shared<Resolved>(name, informat,
                                               std::string(catalog));
           }),
           py::arg("name"), py::arg("informat"), py::arg("catalog"))
      .def_property_readonly("status", &Resolved::status)
      .def_property_readonly("found", &Resolved::found)
      .def_property_readonly("runs", &Resolved::runs)
      .def_property_readonly(
          "user", [](const Resolved &r) { return r.found() && r.user(); })
      .def_property_readonly("bytes_result", &Resolved::bytes_result)
      .def_property_readonly("stores_double", &Resolved::stores_double)
      .def_property_readonly("module", &Resolved::module)
      .def_property_readonly("limits", [](const Resolved &r) {
        const fmtattr &a = r.attrs();
        return py::make_tuple(a.minw, a.maxw, a.defw, a.maxd, a.flag1, a.flag2,
                              a.aux_lo | (uint32_t{a.aux_hi} << 16));
      });

  m.def(
      "put_numbers",
      [](const Resolved &r,
         const py::array_t<double, py::array::c_style | py::array::forcecast>
             &values,
         int32_t w, int32_t d, int32_t localeid, int threads) {
        valfmt_py::Inputs in;
        in.numbers = values.data();
        in.n = static_cast<std::size_t>(values.size());
        return run_column(r, in, w, d, localeid, threads);
      },
      py::arg("handle"), py::arg("values"), py::arg("w"), py::arg("d"),
      py::arg("localeid"), py::arg("threads"));

  m.def(
      "apply_texts",
      [](const Resolved &r, const py::array &values, int32_t w, int32_t d,
         int32_t localeid, int threads, const py::tuple &missing) {
        if (values.ndim() != 1 || (values.flags() & py::array::c_style) == 0)
          throw py::value_error("expected a contiguous 1-d array");
        // Character formats take UCS-2 for text beyond Windows-1252;
        // informats read bytes, so such text reaches them as UTF-8.
        const valfmt_py::TextColumn col =
            pack_texts(values, !r.informat(), missing);
        valfmt_py::Inputs in;
        in.texts = &col;
        in.n = col.size();
        return run_column(r, in, w, d, localeid, threads);
      },
      py::arg("handle"), py::arg("values"), py::arg("w"), py::arg("d"),
      py::arg("localeid"), py::arg("threads"), py::arg("missing"));

  m.def("status_words", &valfmt::status_words, py::arg("status"));
  m.def("status_name", &valfmt::status_name, py::arg("status"));
  m.def("locale_id", &locale_id, py::arg("name"),
        "Record number of a locale name (0 when unknown), or None while the "
        "library has no locale database.");
  m.def("builtin_names", &builtin_names);
  m.attr("INFORMAT_KIND") = kInformatKind;
}
