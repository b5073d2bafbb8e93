#pragma once
// ADO's enumerations and the error numbers the system relies on.

namespace ado {

enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1 };
enum CursorTypeEnum { adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockTypeEnum { adLockUnspecified = -1, adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3, adLockBatchOptimistic = 4 };
enum CursorLocationEnum { adUseServer = 2, adUseClient = 3 };
enum SchemaEnum { adSchemaColumns = 4, adSchemaTables = 20 };
enum EditModeEnum { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };

enum DataTypeEnum {
    adEmpty = 0, adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5, adCurrency = 6, adDate = 7,
    adBSTR = 8, adBoolean = 11, adDecimal = 14, adTinyInt = 16, adUnsignedTinyInt = 17,
    adUnsignedSmallInt = 18, adUnsignedInt = 19, adBigInt = 20, adUnsignedBigInt = 21, adFileTime = 64,
    adGUID = 72, adBinary = 128, adChar = 129, adWChar = 130, adNumeric = 131, adDBDate = 133, adDBTime = 134,
    adDBTimeStamp = 135, adDBFileTime = 137, adVarChar = 200, adLongVarChar = 201, adVarWChar = 202, adLongVarWChar = 203,
    adVarBinary = 204, adLongVarBinary = 205,
};

// Error numbers, as ADO raises them (HRESULTs as signed 32-bit values).
namespace err {
constexpr long Fallo = -2147467259;              // &H80004005: provider failure, lost link
constexpr long ErrorEnComando = -2147217900;     // &H80040E14: statement error
constexpr long Integridad = -2147217873;         // &H80040E2F: constraint violated
constexpr long Truncado = -2147217833;           // &H80040E57: value longer than its column
constexpr long FilaNoEncontrada = -2147217864;   // &H80040E38: row to update not found
constexpr long TiempoAgotado = -2147217871;      // &H80040E31: time-out
constexpr long ObjetoCerrado = 3704;             // operation not allowed when the object is closed
constexpr long ObjetoAbierto = 3705;             // operation not allowed when the object is open
constexpr long ConexionNoValida = 3709;          // the connection is closed or invalid
constexpr long ElementoNoEncontrado = 3265;      // item not found in the collection
constexpr long SinRegistroActual = 3021;         // BOF or EOF
constexpr long NoAdmitido = 3251;                // the recordset does not support this
constexpr long ArgumentoNoValido = 3001;
constexpr long ProveedorNoEncontrado = 3706;
constexpr long NoPermitidoEnContexto = 3219;  // e.g. closing a recordset during an edit

constexpr long NativoEnlacePerdido = 11;
constexpr long NativoTruncado = 8152;
} // namespace err

} // namespace ado
